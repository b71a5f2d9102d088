#include "plugin/function_menu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

const char* const kMenuHeading = "Please select one of the following functions:";

std::string menu(const char* heading, const FunctionId* ids, int32_t count, bool html,
                 const char* trailer) {
  std::unique_ptr<char, decltype(&std::free)> text(
      buildFunctionMenu(heading, ids, count, html, trailer), &std::free);
  EXPECT_NE(text, nullptr);
  return text ? std::string(text.get()) : std::string();
}

}  // namespace

TEST(FunctionMenu, RunMenuOverTheWholeCatalogue) {
  EXPECT_EQ(menu(kMenuHeading, functionCatalogue.ids, functionCatalogue.count, true, ""),
            "Please select one of the following functions:<P>"
            "1: Change colors of vertices <BR>"
            "2: Print the header information of the current surface to the Log tab <BR>"
            "3: Print a range of color values of the current surface to the Log tab <BR>"
            "4: Hexadecimal to decimal converter for HTML color codes <BR>"
            "5: Write header information of current surface to a text file <BR>");
}

TEST(FunctionMenu, CatalogueListsOneToFiveInOrder) {
  ASSERT_EQ(functionCatalogue.count, 5);
  for (int32_t position = 0; position < functionCatalogue.count; ++position) {
    EXPECT_EQ(functionCatalogue.ids[position], position + 1);
  }
}

TEST(FunctionMenu, NoLinesForACountOfZeroOrLess) {
  EXPECT_EQ(menu(kMenuHeading, functionCatalogue.ids, 0, true, ""),
            "Please select one of the following functions:<P>");
  EXPECT_EQ(menu("H", functionCatalogue.ids, -3, false, "T"), "H\n\nT");
}

TEST(FunctionMenu, PlainModeNumbersByPositionAndNamesUnknownIds) {
  const FunctionId ids[] = {1, 7};
  EXPECT_EQ(menu(kMenuHeading, ids, 2, false, ""),
            "Please select one of the following functions:\n\n"
            "1: Change colors of vertices \n2: Unknown function \n");
  const FunctionId reversed[] = {5, 1};
  EXPECT_EQ(menu("", reversed, 2, true, ""),
            "<P>1: Write header information of current surface to a text file <BR>"
            "2: Change colors of vertices <BR>");
}

TEST(FunctionMenu, TitlesOutsideTheCatalogueAreUnknown) {
  for (FunctionId id : {0, 6, -1, 2147483647}) {
    EXPECT_STREQ(functionTitle(id), "Unknown function") << id;
  }
}

TEST(FunctionMenu, TooManyLinesAreCutWholeAndStayTerminated) {
  // 3000 lines of about 70 bytes cannot fit 65,536 bytes.
  std::unique_ptr<FunctionId[]> ids(new FunctionId[3000]);
  for (size_t index = 0; index < 3000; ++index) ids[index] = 3;
  std::string text = menu("H", ids.get(), 3000, true, "TRAILER");
  EXPECT_LT(text.size(), 65536u);
  EXPECT_GT(text.size(), 60000u);
  EXPECT_EQ(text.compare(text.size() - 4, 4, "<BR>"), 0) << "ends with a whole line";
  EXPECT_EQ(text.find("TRAILER"), std::string::npos);
}
