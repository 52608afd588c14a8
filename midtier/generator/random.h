// Deterministic random numbers for the demo data: splitmix64 mapped to ranges by hand,
// so the same seed gives the same data with any standard library.
#pragma once

#include <cstdint>
#include <span>

namespace gen {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  // An independent stream for one purpose (`stream`) and one entity (`index`), so that
  // adding draws in one part of the generator never shifts the data of another.
  static Rng stream(uint64_t seed, uint64_t stream, uint64_t index = 0) {
    Rng mixer(seed ^ (stream * 0x9E3779B97F4A7C15ULL));
    uint64_t a = mixer.next();
    Rng second(a ^ (index * 0xD1B54A32D192ED03ULL + 0x632BE59BD9B4E019ULL));
    return Rng(second.next());
  }

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [0, n) (n > 0), by the multiply-high method.
  uint64_t below(uint64_t n) {
    return static_cast<uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
  }
  // Uniform in [lo, hi] (lo <= hi).
  int64_t between(int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(below(static_cast<uint64_t>(hi - lo) + 1));
  }
  // True with probability percent / 100.
  bool percent(int percent) { return below(100) < static_cast<uint64_t>(percent); }

  template <typename T>
  const T& pick(std::span<const T> values) {
    return values[below(values.size())];
  }

 private:
  uint64_t state_;
};

// Purposes of the random streams; each part of the generator draws from its own.
enum Stream : uint64_t {
  kStreamBaseData = 1,
  kStreamItems,
  kStreamBatches,
  kStreamTasks,
  kStreamReceipts,
  kStreamOrders,
  kStreamIssues,
  kStreamBills,
  kStreamCosts,
};

}  // namespace gen
