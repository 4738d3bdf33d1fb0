#include "platform/files/descriptor_device.h"

#include <cerrno>
#include <unistd.h>

namespace platform::files {

qint64 DescriptorDevice::readData(char* /*data*/, qint64 /*maxSize*/) { return -1; }

qint64 DescriptorDevice::writeData(const char* data, qint64 size) {
    if (error_ != 0) return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write of nothing on a regular file means no room.
            error_ = n < 0 ? errno : ENOSPC;
            return -1;
        }
        done += n;
    }
    return done;
}

}  // namespace platform::files
