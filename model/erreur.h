// The model's error: an arithmetic fault or unusable data inside the model.
// It is defined with the checked rounding, which throws it too.
#pragma once

#include "platform/erreur.h"
