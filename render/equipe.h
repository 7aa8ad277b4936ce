// The helper threads of the renders, for the work of a picture that does not
// depend on its order (per node and per facet values computed before a line
// of facets is drawn). The caller hands out the indices of a batch, then
// later takes the indices of that batch still left itself; it never waits
// for a helper: the work tells its own caller which indices are done (so a
// helper that a busy machine holds back only leaves its index to be done in
// order). Two batches are open at once: helpers take the older one's indices
// first and go on with the newer one's without sleeping between them, so no
// helper waits at the end of a batch while the caller still draws. Helpers
// that wake late find a batch closed and take nothing from it.
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
  // Closes the open batches, waits until no helper still runs one of their
  // indices, and gives the team back; its helpers go to sleep.
  void rendre();

  // Hands out travail(k) for every k in [0, nombre), returns at once and
  // gives the batch's number. Each index runs once, on a helper or in
  // aider(); travail must not throw and must stay alive until every index has
  // run, the batch is closed or the team is given back. A new batch closes
  // the one opened before the previous one (the previous one stays open).
  std::uint32_t lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail);
  // Runs the indices of batch `lot` that no helper has taken yet (none once
  // it is closed), and says how many it ran.
  std::int32_t aider(std::uint32_t lot);
  // The same for the batch opened last.
  std::int32_t aider() { return aider(lot_); }
  // How many of the helpers take part in the batches from now on (at most
  // the number prendre() was given, or the team's size); the others sleep.
  void participants(int aides);

  // Helper threads for a render on this machine now: one per further processor
  // the process may use (at most 7) that the other programs leave idle
  // (platform::processeurs_occupes_autres), from none to all of them.
  static int aides_machine();
  // The same from the processor count and the processors the other programs
  // keep busy (rounded to the nearest).
  static int aides_libres(int coeurs, double autres);

 private:
  void boucle(int rang);
  // The ranks premier and premier + 1 among those taking part, one bit each (under garde_).
  std::uint32_t suivants(int premier) const;
  // Wakes the helpers of these ranks (outside garde_).
  void reveiller(std::uint32_t rangs);
  // An open batch: batch b lives in lots_[b % 2].
  struct Lot {
    const std::function<void(std::int32_t)>* travail = nullptr;  // under garde_
    std::int32_t nombre = 0;                                     // under garde_
    // Batch number (high 32 bits) and next index (low 32 bits), moved together.
    std::atomic<std::uint64_t> prochain{0};
  };
  // Opens batch `lot` in its slot, closing the one that held it (under garde_).
  void ouvrir(std::uint32_t lot, std::int32_t nombre, const std::function<void(std::int32_t)>* travail);
  // Takes the next index of batch `lot`, or -1 when that batch is closed or done.
  std::int32_t prendre_indice(std::uint32_t lot, std::int32_t nombre);
  // Indices of batch `lot` that no one has taken yet.
  std::int32_t restants(std::uint32_t lot, std::int32_t nombre) const;

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
  std::uint32_t lot_ = 1;  // number of the batch opened last (under garde_; the caller's own)
  Lot lots_[2];
  // Helpers between taking a batch and being done with its indices.
  std::atomic<std::int32_t> en_cours_{0};
};

// How many helpers take part in a render's lines, from what each line tells
// when the drawing reaches it. One more when the drawing had to compute parts
// of two lines in a row itself, or more than a helper's share of one line:
// with two lines ahead, parts left mean the helpers do not keep up. One fewer
// after kLignesAisees lines in a row that one fewer helper would still have
// computed within kPartAides of the drawing time of one line. The count the
// next render starts with is the one that held over most lines: the last
// lines of a detail view, near the eye, draw slowly, and fewer helpers keep
// up with them than with the rest.
class ReglageAides {
 public:
  static constexpr int kLignesAisees = 8;
  static constexpr double kPartAides = 0.8;

  // Starts with `depart` helpers (within 1..maximum), never more than `maximum`.
  ReglageAides(int depart, int maximum);

  int aides() const { return aides_; }
  // After a line of `parts` parts, of which the drawing computed `propres`;
  // `calcul` is the time from the line's hand-over until the helpers had
  // done its last part (negative: they had not), `cycle` the time the
  // drawing of one line took meanwhile. Gives the count for what follows.
  int ligne(std::int32_t parts, std::int32_t propres, double calcul, double cycle);
  // The count that held over most lines so far (the larger on a tie; 0
  // before any line).
  int retenu() const;

 private:
  static constexpr int kMax = 32;
  int maximum_ = 0, aides_ = 0;
  int aisees_ = 0;    // lines in a row that one fewer helper would have computed in time
  bool retard_ = false;  // the line before was not done by the helpers alone
  std::int32_t lignes_[kMax + 1] = {};  // lines seen with each count
};

}  // namespace render
