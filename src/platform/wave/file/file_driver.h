#pragma once
// FileDriver: a sound file as the line input (--audio=file --input-wav FILE),
// on a VirtualClock like the simulated driver. The input device records the
// file (file_wav_source.h), block after block from its first frame; the output
// device plays on the clock into nothing (wrap the driver in a TeeDriver to
// keep what is played). Each device can be open once at a time.
#include "platform/virtual_clock.h"
#include "platform/wave/driver.h"

#include <memory>
#include <string>

namespace platform::wave::file {

struct FileDriverConfig {
    std::string inputWav;  // --input-wav
    bool loop = false;     // after the end of the file: the file again (else silence)
};

class FileWavSource;

class FileDriver final : public Driver {
public:
    // Opens the file; null with a message naming the file and the reason when
    // it cannot be read.
    static std::shared_ptr<FileDriver> create(const FileDriverConfig& config, std::string& error,
                                              VirtualClock& clock = virtualClock());
    ~FileDriver() override;

    std::string name() const override { return "file"; }
    UINT deviceCount(Direction direction) const override;
    std::string deviceName(Direction direction, UINT device) const override;
    MMRESULT open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                  std::unique_ptr<Stream>& stream) override;

    FileDriver(const FileDriverConfig& config, std::unique_ptr<FileWavSource> source, VirtualClock& clock);

private:
    struct Shared;

    FileDriverConfig config_;
    VirtualClock& clock_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace platform::wave::file
