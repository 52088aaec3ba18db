#pragma once

#include "support/ExampleReport.h"

#include <gtest/gtest.h>

// The example run as a report source, loaded and calculated before each test.
class ExampleReportTest : public ::testing::Test, protected TExampleReport
{
protected:
    void SetUp() override { ASSERT_TRUE(Load()); }
};
