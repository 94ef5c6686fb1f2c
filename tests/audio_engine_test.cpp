#include <gtest/gtest.h>
TEST(AudioEngineTest, Placeholder) {}
