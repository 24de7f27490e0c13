#include "app/bench_report.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "base/worker_pool.h"

namespace quorl {
namespace {

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);) {
    if (line.rfind("model name", 0) != 0) continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) break;
    const size_t start = line.find_first_not_of(' ', colon + 1);
    return start == std::string::npos ? "" : line.substr(start);
  }
  return "";
}

std::string SystemName() {
  utsname names{};
  if (uname(&names) != 0) return "";
  return std::string(names.sysname) + " " + names.release + " " + names.machine;
}

double PerSecond(double count, double seconds) {
  return seconds > 0 ? count / seconds : 0.0;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      json += escape;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string BenchText(const BenchFigures& f) {
  char text[512];
  std::snprintf(text, sizeof text,
                "steps drawn: %d\npoints: %lld\nsub-samples: %lld\nseconds: %.3f\n"
                "million sub-samples per second: %.2f\nthreads: %d\n",
                f.steps, f.points, f.subSamples, f.seconds,
                PerSecond(static_cast<double>(f.subSamples), f.seconds) / 1e6, f.threads);
  return text;
}

std::string BenchJson(const BenchFigures& f) {
  char figures[512];
  std::snprintf(figures, sizeof figures,
                "{\"steps\": %d, \"points\": %lld, \"sub_samples\": %lld, \"seconds\": %.6f, "
                "\"sub_samples_per_second\": %.0f, \"threads\": %d, ",
                f.steps, f.points, f.subSamples, f.seconds,
                PerSecond(static_cast<double>(f.subSamples), f.seconds), f.threads);
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return std::string(figures) + "\"machine\": {\"cpu\": " + JsonString(CpuModel()) +
         ", \"cpus_online\": " + std::to_string(online > 0 ? online : 1) +
         ", \"cpus_usable\": " + std::to_string(HardwareThreads()) +
         ", \"system\": " + JsonString(SystemName()) + "}}\n";
}

}  // namespace quorl
