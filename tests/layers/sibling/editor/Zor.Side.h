#pragma once

#include "inspector/Zor.Beside.h"
