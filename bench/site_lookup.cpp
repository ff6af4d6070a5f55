#include "bench/site_lookup.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "bench/child_process.h"
#include "platform/error.h"

namespace marksend::bench {

namespace {

struct Socket {
  int fd;
  explicit Socket() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (fd < 0) throw Error("Cannot make a socket.");
  }
  ~Socket() { ::close(fd); }
};

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A loopback port nobody listens on right now (the system's choice).
int FreePort() {
  Socket s;
  sockaddr_in address = Loopback(0);
  if (::bind(s.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    throw Error("Cannot find a free loopback port.");
  socklen_t size = sizeof address;
  ::getsockname(s.fd, reinterpret_cast<sockaddr*>(&address), &size);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  Socket s;
  sockaddr_in address = Loopback(port);
  return ::connect(s.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

std::string Between(const std::string& text, size_t from, const std::string& open, const std::string& close) {
  const size_t start = text.find(open, from);
  if (start == std::string::npos) return {};
  const size_t end = text.find(close, start + open.size());
  if (end == std::string::npos) return {};
  return text.substr(start + open.size(), end - start - open.size());
}

}  // namespace

LookupResult MeasureLookup(const std::filesystem::path& folder, const std::filesystem::path& router, int requests) {
  std::ifstream in(folder / "tev10xml.xml", std::ios::binary);
  const std::string document((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t last = document.rfind("<Std><Psn>");
  if (last == std::string::npos) throw Error("The export folder " + folder.string() + " holds no student.");
  const std::string code = Between(document, last, "<Co>", "</Co>");
  const std::string birth = Between(document, last, "<BD>", "</BD>");

  const int port = FreePort();
  const std::string host = "127.0.0.1:" + std::to_string(port);
  BackgroundProcess server({"php", "-S", host, "-t", folder.string(), router.string()});
  for (int attempt = 0; !Accepts(port); ++attempt) {
    if (attempt > 200 || !server.Running()) throw Error("php -S did not start on " + host + ".");
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }

  const std::string url = "http://" + host + "/gradeviewer.php";
  const std::vector<std::string> post{"curl", "-sS", "--fail", "--data-urlencode", "ID=" + code,
                                      "--data-urlencode", "BDate=" + birth, url};
  const std::string page = RunCapture(post);
  if (page.find("</Co>") != std::string::npos || page.find(code) == std::string::npos ||
      page.find("ไม่พบข้อมูล") != std::string::npos)
    throw Error("The grade viewer did not find the student " + code + ".");

  std::vector<double> times;
  std::vector<std::string> timed = post;
  timed.insert(timed.begin() + 1, {"-o", "/dev/null", "-w", "%{time_total}"});
  for (int i = 0; i < requests; ++i) times.push_back(std::stod(RunCapture(timed)));
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  return {median, requests, code};
}

}  // namespace marksend::bench
