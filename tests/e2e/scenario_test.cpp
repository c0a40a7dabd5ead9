// The end-to-end scenarios: every folder below tests/e2e that holds a case.ini is one case
// (the format is described in tests/e2e/README.md), run by the runner of scenario.h.
#include "tests/e2e/scenario.h"

namespace vandrel::test {
namespace {

TEST_P(Scenario, Run) { runCase(); }

INSTANTIATE_TEST_SUITE_P(Cases, Scenario, ::testing::ValuesIn(caseNames(scenariosFolder())), caseTestName);

}  // namespace
}  // namespace vandrel::test
