#include "app/show_compare_options.h"

#include <gtest/gtest.h>

#include "app/options.h"

namespace ltb::app {
namespace {

TEST(InspectOptions, ChoicesForOneRunAndTheCommandsThatWriteNothing) {
  Options o;
  std::string e;
  ASSERT_TRUE(ParseOptions(
      {"--user=user02", "--dataset", "3", "--compare", "--months", "5-7", "--csv"}, &o, &e))
      << e;
  EXPECT_EQ(o.inspect.user, "user02");
  EXPECT_EQ(o.inspect.dataset, 3);
  EXPECT_TRUE(o.inspect.compare);
  EXPECT_TRUE(o.inspect.csv);

  Options show;
  ASSERT_TRUE(ParseOptions({"--show", "/tmp/r.xml", "--all"}, &show, &e)) << e;
  EXPECT_EQ(show.inspect.show.value_or(""), "/tmp/r.xml");
  EXPECT_TRUE(show.inspect.all);
}

TEST(InspectOptions, ValuesAndCombinationsThatCannotWorkAreRefused) {
  const std::vector<std::vector<std::string>> refused = {
      {"--dataset", "0"},
      {"--dataset", "12x"},
      {"--dataset", "1234567"},
      {"--user", "a b"},
      {"--user="},
      {"--show"},
      {"--compare=1"},
      {"--all"},
      {"--csv"},
      {"--show", "r.xml", "--compare"},
      {"--show", "r.xml", "--dataset", "2"},
      // --compare writes no report, so options of a report run would be
      // ignored silently.
      {"--compare", "--output", "/tmp/x.xml"},
      {"--compare", "--method", "return"},
      {"--compare", "--execute"},
      {"--compare", "1,2,3,/tmp/x.xml"},
  };
  for (const std::vector<std::string>& args : refused) {
    SCOPED_TRACE(testing::PrintToString(args));
    Options o;
    std::string e;
    EXPECT_FALSE(ParseOptions(args, &o, &e));
    EXPECT_FALSE(e.empty());
  }
}

}  // namespace
}  // namespace ltb::app
