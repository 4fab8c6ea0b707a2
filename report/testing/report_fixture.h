// A report context over fakes, and a writer into memory, for the section
// tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/testing/fake_host.h"
#include "platform/testing/memory_env.h"
#include "report/report.h"
#include "report/report_writer.h"

namespace ltb::report::testing {

class ReportFixture : public ::testing::Test {
 protected:
  static constexpr const char* kOut = "C:\\out\\tax.xml";

  void SetUp() override {
    totals.Allocate(3);
    ctx.host = &host;
    ctx.env = &env;
    ctx.edition = EditionByLetter('A');
    ctx.totals = &totals;
    ctx.filingClass = 2;
    ASSERT_TRUE(writer.Open(&env, kOut).ok());
  }
  const std::string& Output() { return env.Written(kOut); }
  // Starts the output afresh, for a second case in the same test.
  void Reopen() {
    env.files.clear();
    ASSERT_TRUE(writer.Open(&env, kOut).ok());
  }

  ltb::testing::FakeHost host;
  platform::testing::MemoryEnv env;
  aggregate::TaxTotals totals;
  host::StDATAINFO data;
  host::StSHOHIZEIINFO settings;
  host::StSaveTaxInfo saved;
  ReportContext ctx;
  ReportWriter writer;
};

}  // namespace ltb::report::testing
