// Host file helpers and list-file bytes, under the name the sample generator's tests include.
#pragma once

#include "support/list_bytes.h"
