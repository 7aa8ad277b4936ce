// A flag raised for the length of a scope: raised by the constructor and
// lowered by the destructor, also when the scope is left early or by an
// exception. For "one run at a time" and "work in progress" flags.
#pragma once

namespace platform {

class DrapeauLeve {
 public:
  explicit DrapeauLeve(bool& drapeau) : drapeau_(drapeau) { drapeau_ = true; }
  ~DrapeauLeve() { drapeau_ = false; }
  DrapeauLeve(const DrapeauLeve&) = delete;
  DrapeauLeve& operator=(const DrapeauLeve&) = delete;

 private:
  bool& drapeau_;
};

}  // namespace platform
