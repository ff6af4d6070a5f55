#include "platform/text_file_writer.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "platform/error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace marksend {
namespace {

#ifdef _WIN32
int OpenNew(const std::filesystem::path& p, int mode) {
  int fd = -1;
  _wsopen_s(&fd, p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW, mode);
  return fd;
}
long long WriteSome(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size > (1u << 30) ? (1u << 30) : size));
}
int Flush(int fd) { return _commit(fd); }
int CloseFd(int fd) { return _close(fd); }
int KeepMode(int, int) { return 0; }
void SyncFolder(const std::filesystem::path&) {}
#else
int OpenNew(const std::filesystem::path& p, int mode) {
  int fd;
  do fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}
long long WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int Flush(int fd) { return ::fsync(fd); }
int CloseFd(int fd) { return ::close(fd); }
// The replacement takes over the old file's permission bits exactly (the
// umask only shaped new files).
int KeepMode(int fd, int mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }
// Makes the rename itself durable; the file is complete either way, so a
// failure here is not one of the write.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& what, int err) {
  throw Error("Cannot write the file " + path.string() + ": " + what + ": " + std::strerror(err));
}

// Owns the temporary file until it has been renamed into place: closes the
// descriptor and removes the file on every way out but success.
class TempFile {
 public:
  TempFile(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0) CloseFd(fd_);
    if (!path_.empty()) {
      std::error_code ec;
      std::filesystem::remove(path_, ec);
    }
  }
  int fd() const { return fd_; }
  const std::filesystem::path& path() const { return path_; }
  // Closes the descriptor; 0 or an errno value.
  int Close() {
    const int rc = CloseFd(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }
  void Release() { path_.clear(); }

 private:
  std::filesystem::path path_;
  int fd_;
};

// Writes all of data to fd; throws Error naming path on failure.
void WriteAll(const std::filesystem::path& path, int fd, const char* data, std::size_t left) {
  while (left > 0) {
    const long long n = WriteSome(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, "writing failed", errno);
    }
    if (n == 0) Fail(path, "writing failed", EIO);
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

// Writes the lines through a small buffer, so a large document is never held
// a second time, whole, in memory.
void WriteLines(const std::filesystem::path& path, int fd, const std::vector<std::string>& lines,
                ByteOrderMark mark) {
  constexpr std::size_t kBuffer = 64 * 1024;
  std::string buffer;
  buffer.reserve(kBuffer);
  if (mark == ByteOrderMark::Write) buffer += "\xEF\xBB\xBF";
  for (const auto& line : lines) {
    if (buffer.size() + line.size() + 2 > kBuffer) {
      WriteAll(path, fd, buffer.data(), buffer.size());
      buffer.clear();
    }
    if (line.size() + 2 > kBuffer) {
      WriteAll(path, fd, line.data(), line.size());  // a long line goes straight out
    } else {
      buffer += line;
    }
    buffer += "\r\n";
  }
  WriteAll(path, fd, buffer.data(), buffer.size());
}

// A new, empty file beside path with a name nobody else uses.
TempFile CreateTemp(const std::filesystem::path& path, int mode) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const std::filesystem::path folder = path.parent_path();
  int err = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto name = "." + path.filename().string() + "." + std::to_string(random() % 1000000000) + ".tmp";
    const auto temp = folder.empty() ? std::filesystem::path(name) : folder / name;
    const int fd = OpenNew(temp, mode);
    if (fd >= 0) return TempFile(temp, fd);
    err = errno;
    if (err != EEXIST) break;
  }
  Fail(path, "cannot create a temporary file beside it", err);
}

}  // namespace

void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines, ByteOrderMark mark) {
  if (path.filename().empty()) Fail(path, "no file name", EINVAL);
  // An existing target keeps its permission bits; a new file gets 0644 less
  // the umask.
  int mode = 0644;
  bool keepMode = false;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!ec && std::filesystem::is_regular_file(status)) {
    mode = static_cast<int>(status.permissions() & std::filesystem::perms::mask);
    keepMode = true;
  }

  TempFile temp = CreateTemp(path, mode);
  if (keepMode && KeepMode(temp.fd(), mode) != 0) Fail(path, "cannot set its permissions", errno);

  WriteLines(path, temp.fd(), lines, mark);
  if (Flush(temp.fd()) != 0) Fail(path, "flushing to disk failed", errno);
  if (const int err = temp.Close(); err != 0) Fail(path, "closing failed", err);

  std::filesystem::rename(temp.path(), path, ec);
  if (ec) throw Error("Cannot write the file " + path.string() + ": cannot replace it: " + ec.message());
  temp.Release();
  SyncFolder(path.parent_path());
}

}  // namespace marksend
