// The exceptions of the control library. Messages are fixed texts (UTF-8).
// They never leave a Qt event handler: a control whose mouse, key or timer
// handler calls something that may throw catches it there.
#pragma once

#include <stdexcept>
#include <string>

class CtlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A component that allows one instance per form found another one, or an owner that is not a form.
class CtlEOneInstError : public CtlError {
 public:
  using CtlError::CtlError;
};

// Data that is not a RIFF wave file.
class CtlEInvalidWave : public CtlError {
 public:
  using CtlError::CtlError;
};

// A stream ended before a field, or compressed data is corrupt.
class CtlReadError : public CtlError {
 public:
  using CtlError::CtlError;
};

// The platform refused a resource (a timer).
class CtlOutOfResources : public CtlError {
 public:
  using CtlError::CtlError;
};

// A list index or a known id given to a list that refuses it.
class CtlListError : public CtlError {
 public:
  using CtlError::CtlError;
};

// Misuse of an object: a missing owner, a bad argument, a failed allocation.
class CtlInvalidOperation : public CtlError {
 public:
  using CtlError::CtlError;
};

// A picture operation refused: a picture of the wrong size, a strip grown too wide.
class CtlInvalidGraphicOperation : public CtlError {
 public:
  using CtlError::CtlError;
};
