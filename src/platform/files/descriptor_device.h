#pragma once
// A write-only QIODevice over an open file descriptor that keeps the
// system's errno of a failed write, so that a full disk is reported as the
// system says it ("No space left on device"), never as "Unknown error".
#include <QIODevice>

namespace platform::files {

class DescriptorDevice : public QIODevice {
public:
    explicit DescriptorDevice(int fd) : fd_(fd) {}

    // errno of the first failed write, 0 while none failed.
    int error() const { return error_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    int fd_;
    int error_ = 0;
};

}  // namespace platform::files
