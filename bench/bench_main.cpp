// plodderz-bench: every benchmark of the editor in one program. It names the
// machine first (CPU model, cores, kernel), runs the benchmarks with
// repetitions and reports their medians, and ends with each figure against
// its goal.
//
//   build/bench/plodderz-bench                      # all, 10 repetitions
//   build/bench/plodderz-bench --benchmark_filter=Pen
//   build/bench/plodderz-bench --benchmark_repetitions=3
//
// Build in Release or RelWithDebInfo; a Debug or sanitizer build measures
// the instrumentation.
#include <benchmark/benchmark.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const auto colon = line.find(':');
      if (colon != std::string::npos) return line.substr(colon + 2);
    }
  }
  return "unknown CPU";
}

std::string Kernel() {
  utsname name{};
  if (::uname(&name) != 0) return "unknown kernel";
  return std::string(name.sysname) + " " + name.release + " " + name.machine;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

// One figure against its goal: the median of `numerator` (divided by the
// median of `denominator` when given) must not exceed `limit`.
struct Goal {
  const char* what;
  const char* numerator;
  const char* denominator;  // nullptr: an absolute time in `unit`
  double limit;
  const char* unit;  // "x", "us" or "ms"
};

const Goal kGoals[] = {
    {"full paint of the largest level / clear of the same area",
     "BM_FullPaintLargestLevel", "BM_ClearSameArea", 5.0, "x"},
    {"full paint of the largest level at 16x in 1920 x 1080 / clear",
     "BM_FullPaintLargestLevel16x", "BM_ClearCanvas1920x1080", 3.0, "x"},
    {"one-line scroll at 16x, 1920 x 1080", "BM_ScrollOneLine16x", nullptr, 1.0,
     "ms"},
    {"zoom step to the next painted frame, 1920 x 1080", "BM_ZoomStep", nullptr,
     5.0, "ms"},
    {"large-pen move across a 288-pixel level, one event",
     "BM_PenMoveAcrossWidth/large", nullptr, 1.0, "ms"},
    {"small-pen move of 288 pixels, one event", "BM_PenMoveAcrossWidth/small",
     nullptr, 1.0, "ms"},
    {"pack round trip (encode + file + decode), nine full levels",
     "BM_PackRoundTrip", nullptr, 200.0, "us"},
    {"main frame construction to first paint", "BM_StartupFirstPaint", nullptr,
     150.0, "ms"},
    {"pack check, nine full levels", "BM_PackCheckNineFullLevels", nullptr, 1.0,
     "ms"},
    {"thumbnail of the largest level (288 x 64)", "BM_ThumbnailLargestLevel/36",
     nullptr, 200.0, "us"},
    {"line preview move across 288 x 64, one event",
     "BM_ShapePreviewMove/line/36", nullptr, 1.0, "ms"},
    {"line preview move across 96 x 192, one event",
     "BM_ShapePreviewMove/line/12", nullptr, 1.0, "ms"},
    {"rectangle preview move across 288 x 64, one event",
     "BM_ShapePreviewMove/rectangle/36", nullptr, 1.0, "ms"},
    {"rectangle preview move across 96 x 192, one event",
     "BM_ShapePreviewMove/rectangle/12", nullptr, 1.0, "ms"},
    {"ellipse preview move across 288 x 64, one event",
     "BM_ShapePreviewMove/ellipse/36", nullptr, 1.0, "ms"},
    {"ellipse preview move across 96 x 192, one event",
     "BM_ShapePreviewMove/ellipse/12", nullptr, 1.0, "ms"},
    {"fill, empty 288 x 64 level", "BM_Fill/empty/36", nullptr, 1.0, "ms"},
    {"fill, empty 96 x 192 level", "BM_Fill/empty/12", nullptr, 1.0, "ms"},
    {"fill, maze 288 x 64 level", "BM_Fill/maze/36", nullptr, 1.0, "ms"},
    {"fill, maze 96 x 192 level", "BM_Fill/maze/12", nullptr, 1.0, "ms"},
    {"whole-level selection moved one pixel, 288 x 64", "BM_SelectionMove/36",
     nullptr, 1.0, "ms"},
    {"whole-level selection moved one pixel, 96 x 192", "BM_SelectionMove/12",
     nullptr, 1.0, "ms"},
    {"overview repaint after one pen plot, largest level",
     "BM_OverviewAfterPenPlot", nullptr, 0.2, "ms"},
    {"recovery copy of the largest pack, the window thread's share",
     "BM_RecoverySnapshotEncode", nullptr, 1.0, "ms"},
    {"recovery copy of the largest pack, written and flushed (own thread)",
     "BM_RecoveryWriteLargestPack", nullptr, 100.0, "ms"},
};

// The console report, keeping the median of each benchmark in nanoseconds.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter()
      : ConsoleReporter(::isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular
                                                     : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate
                              ? run.aggregate_name == "median"
                              : run.repetitions <= 1;
      if (median && !run.error_occurred) {
        const double ns = run.GetAdjustedRealTime() /
                          benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        m_medians[Name(run)] = ns;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintGoals() const {
    std::printf("\nAgainst the goals (medians):\n");
    for (const Goal& goal : kGoals) {
      const auto num = m_medians.find(goal.numerator);
      if (num == m_medians.end()) continue;  // filtered out
      double value = num->second;
      if (goal.denominator != nullptr) {
        const auto den = m_medians.find(goal.denominator);
        if (den == m_medians.end() || den->second <= 0) continue;
        value /= den->second;
      } else {
        value /= std::strcmp(goal.unit, "ms") == 0 ? 1e6 : 1e3;
      }
      std::printf("  %-62s %9.3f %-2s (goal <= %g %s) %s\n", goal.what, value,
                  goal.unit, goal.limit, goal.unit,
                  value <= goal.limit ? "met" : "MISSED");
    }
  }

 private:
  // The benchmark's name with its arguments, without repetition suffixes.
  static std::string Name(const Run& run) {
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    return name;
  }

  std::map<std::string, double> m_medians;
};

}  // namespace

int main(int argc, char** argv) {
  // Medians of ten repetitions unless the command line says otherwise.
  std::vector<char*> args(argv, argv + argc);
  bool repetitionsGiven = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0) {
      repetitionsGiven = true;
    }
  }
  static char repetitions[] = "--benchmark_repetitions=10";
  static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  if (!repetitionsGiven) {
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);

  std::printf("plodderz-bench, %s\n", Today().c_str());
  std::printf("Machine: %s, %u cores, %s\n", CpuModel().c_str(),
              std::thread::hardware_concurrency(), Kernel().c_str());
  std::fflush(stdout);
  benchmark::AddCustomContext("cpu_model", CpuModel());
  benchmark::AddCustomContext("kernel", Kernel());

  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintGoals();
  benchmark::Shutdown();
  return 0;
}
