#include "EngineUnderTest.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EngineUnderTest);
    return RUN_ALL_TESTS();
}
