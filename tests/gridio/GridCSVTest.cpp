// CSV and fixed-width files.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridio/GridFiles.h"
