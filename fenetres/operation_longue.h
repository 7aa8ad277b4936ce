// The long-operation marker: while a long operation runs (its progress window
// processes events), timers and scheduled work of every window re-arm instead
// of acting.
#pragma once

bool operation_en_cours();

// Marks a long operation for its lifetime; markers nest.
class OperationLongue {
 public:
  OperationLongue();
  ~OperationLongue();
  OperationLongue(const OperationLongue&) = delete;
  OperationLongue& operator=(const OperationLongue&) = delete;
};
