// Fixture for the layer check: the command line may use the model, but not
// the parts that only the row engine puts together.
#pragma once

#include "model/parts.hpp"
