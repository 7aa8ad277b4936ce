// A small team of helper threads kept for a whole render, for the work of a
// picture that does not depend on its order (per node and per facet values
// computed before a line of facets is drawn). The caller hands out the indices
// of one batch, then takes the indices still left itself; it never waits for
// a helper: the work tells its own caller which indices are done (so a helper
// that a busy machine holds back only leaves its index to be done in order).
// Helpers that wake late find the batch closed and take nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace render {

class Equipe {
 public:
  // `aides` helper threads besides the caller (none: the caller does all).
  explicit Equipe(int aides);
  ~Equipe();
  Equipe(const Equipe&) = delete;
  Equipe& operator=(const Equipe&) = delete;

  // Hands out travail(k) for every k in [0, nombre) and returns at once. Each
  // index runs once, on a helper or in aider(); travail must not throw and
  // must stay alive until every index has run (the destructor waits for the
  // helpers). A new batch closes the previous one.
  void lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail);
  // Runs the indices of the current batch that no helper has taken yet.
  void aider();

  // Helper threads for a render on this machine now: one per further core
  // (at most 7) that the other programs leave idle.
  static int aides_machine();
  // The same from the core count, the load average of the last minute and
  // the threads runnable now (0: unknown).
  static int aides_pour(int coeurs, double charge, int executables);

 private:
  void boucle();
  // Takes the next index of batch `lot`, or -1 when that batch is closed or done.
  std::int32_t prendre(std::uint32_t lot, std::int32_t nombre);

  std::vector<std::thread> fils_;
  std::mutex garde_;
  std::condition_variable reveil_;
  bool arret_ = false;
  std::atomic<bool> arret_demande_{false};  // arret_, for the helpers watching for a batch
  int dormeurs_ = 0;                        // helpers waiting on reveil_ (under garde_)
  static constexpr int kGuetMicro = 2000;   // how long a helper watches for the next batch
  std::uint32_t lot_ = 0;  // number of the current batch
  const std::function<void(std::int32_t)>* travail_ = nullptr;
  std::int32_t nombre_ = 0;
  // Batch number (high 32 bits) and next index (low 32 bits), moved together.
  std::atomic<std::uint64_t> prochain_{0};
};

}  // namespace render
