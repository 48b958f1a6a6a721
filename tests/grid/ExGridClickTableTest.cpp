// Clicks on a 6 x 6 grid driven through synthetic mouse input.
#include <gtest/gtest.h>
