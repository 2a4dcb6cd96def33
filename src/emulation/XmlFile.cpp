#include "XmlFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "XmlElementIndex.h"

void RecordFileError(int error, CXmlResults& results)
{
    char buffer[256];
    std::string message = strerror_r(error, buffer, sizeof(buffer)); // the GNU form returns the text
    message = message.substr(0, message.find_first_of("\r\n"));
    results.Add("file_error", {{"msg", message}, {"n", std::to_string(error)}});
}

namespace {

bool ReadAll(int fd, std::string& bytes, CXmlResults& results)
{
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        RecordFileError(errno, results);
        return false;
    }
    // The index addresses the text with 32-bit offsets.
    if (info.st_size > static_cast<off_t>(CXmlElementIndex::kMaxTextLength)) {
        RecordFileError(EFBIG, results);
        return false;
    }
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            RecordFileError(errno, results);
            return false;
        }
        if (n == 0)
            break; // the file shrank while we read it
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return true;
}

} // namespace

bool ReadXmlFile(const std::string& path, std::string& bytes, CXmlResults& results)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        RecordFileError(errno, results);
        return false;
    }
    const bool read = ReadAll(fd, bytes, results);
    if (close(fd) != 0 && read) {
        RecordFileError(errno, results);
        return false;
    }
    return read;
}
