// The helper threads of the renders, for the work of a picture that does not
// depend on its order (per node and per facet values computed before a line
// of facets is drawn). The caller hands out the indices of one batch, then
// takes the indices still left itself; it never waits for a helper: the work
// tells its own caller which indices are done (so a helper that a busy
// machine holds back only leaves its index to be done in order). Helpers that
// wake late find the batch closed and take nothing.
//
// The team is resident: its threads are started once, on the first render
// that wants them, and live from one render to the next. A helper that finds
// no index left sleeps until it is woken for a batch; a render takes the team
// for its length with the number of helpers it wants, and the others sleep.
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
  // The renders' team: one thread per further processor the process may use
  // (at most 7), started on first use.
  static Equipe& commune();

  // `aides` helper threads besides the caller (none: the caller does all),
  // every one of them taking part until prendre() says otherwise.
  explicit Equipe(int aides);
  ~Equipe();
  Equipe(const Equipe&) = delete;
  Equipe& operator=(const Equipe&) = delete;

  int taille() const { return static_cast<int>(fils_.size()); }

  // Takes the team for one caller (a render) with `aides` of its helpers
  // taking part (at most its size); false while another caller has it.
  bool prendre(int aides);
  // Closes the current batch, waits until no helper still runs one of its
  // indices, and gives the team back; its helpers go to sleep.
  void rendre();

  // Hands out travail(k) for every k in [0, nombre) and returns at once. Each
  // index runs once, on a helper or in aider(); travail must not throw and
  // must stay alive until every index has run or the team is given back. A
  // new batch closes the previous one.
  void lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail);
  // Runs the indices of the current batch that no helper has taken yet, and
  // says how many it ran.
  std::int32_t aider();
  // How many of the helpers take part in the batches from now on (at most
  // the number prendre() was given, or the team's size); the others sleep.
  void participants(int aides);

  // Helper threads for a render on this machine now: one per further processor
  // the process may use (at most 7) that the other programs leave idle.
  static int aides_machine();
  // The same from the processor count, the load average of the last minute
  // and the threads runnable now (0: unknown).
  static int aides_pour(int coeurs, double charge, int executables);

 private:
  void boucle(int rang);
  // The ranks premier and premier + 1 among those taking part, one bit each (under garde_).
  std::uint32_t suivants(int premier) const;
  // Wakes the helpers of these ranks (outside garde_).
  void reveiller(std::uint32_t rangs);
  // Takes the next index of batch `lot`, or -1 when that batch is closed or done.
  std::int32_t prendre_indice(std::uint32_t lot, std::int32_t nombre);

  std::vector<std::thread> fils_;
  std::mutex garde_;
  // One per helper: the caller wakes the first two helpers taking part, and
  // each helper woken for a batch wakes two more (rank r those of rank
  // 2 r + 2 and 2 r + 3), so that a batch costs the caller two wake-ups at
  // most and reaches seven helpers in three steps.
  static constexpr int kAidesMax = 31;
  std::condition_variable reveils_[kAidesMax];
  bool arret_ = false;
  std::uint32_t endormis_ = 0;              // ranks waiting on reveil_, one bit each (under garde_)
  int actifs_ = 0;                          // helpers of rank below this take part (under garde_)
  std::atomic<bool> occupee_{false};
  std::uint32_t lot_ = 0;  // number of the current batch
  const std::function<void(std::int32_t)>* travail_ = nullptr;
  std::int32_t nombre_ = 0;
  // Batch number (high 32 bits) and next index (low 32 bits), moved together.
  std::atomic<std::uint64_t> prochain_{0};
  // Helpers between taking a batch and being done with its indices.
  std::atomic<std::int32_t> en_cours_{0};
};

}  // namespace render
