// The host function names that the build reads from the host function list
// (standin/CMakeLists.txt), against the list as the compiler expands it in
// the host's own sources: the host variants and the checks of their export
// tables are made from the former.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/host_function_list.h"

namespace {

#define NAMES_NAME(name) #name,
#define NAMES_SKIP(name)
const char* const kEveryName[] = {FACETKIT_HOST_FUNCTIONS(NAMES_NAME, NAMES_NAME)};
const char* const kCalledNames[] = {FACETKIT_HOST_FUNCTIONS(NAMES_NAME, NAMES_SKIP)};
#undef NAMES_NAME
#undef NAMES_SKIP

std::vector<std::string> words(const char* text) {
  std::istringstream in(text);
  std::vector<std::string> result;
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

template <size_t count>
std::vector<std::string> names(const char* const (&list)[count]) {
  return std::vector<std::string>(list, list + count);
}

TEST(HostFunctionNames, TheBuildListsEveryNameInTableOrder) {
  EXPECT_EQ(words(FACETKIT_BUILD_HOST_FUNCTIONS), names(kEveryName));
}

TEST(HostFunctionNames, TheBuildListsTheCalledNamesInTableOrder) {
  EXPECT_EQ(words(FACETKIT_BUILD_CALLED_HOST_FUNCTIONS), names(kCalledNames));
}

}  // namespace
