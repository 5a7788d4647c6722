#include <gtest/gtest.h>

#include "ui/tests/qt_support.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
