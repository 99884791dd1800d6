#include "platform/headless/headless.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    headless::resetAll();
    return RUN_ALL_TESTS();
}
