#include "fenetres/operation_longue.h"

namespace {
int g_operations = 0;
}  // namespace

bool operation_en_cours() { return g_operations > 0; }
OperationLongue::OperationLongue() { ++g_operations; }
OperationLongue::~OperationLongue() { --g_operations; }
