// A model header reaching up into the driver: the check must refuse it.
#pragma once
#include "run/driver.hpp"
