#include "plugin/function_menu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kMenuHeading = "Please select one of the following functions:";

std::string menu(const char* heading, const MenuFunction* functions, int32_t count, bool html,
                 const char* trailer) {
  std::unique_ptr<char, decltype(&std::free)> text(
      buildFunctionMenu(heading, functions, count, html, trailer), &std::free);
  EXPECT_NE(text, nullptr);
  return text ? std::string(text.get()) : std::string();
}

}  // namespace

TEST(FunctionMenu, RunMenuOverTheWholeCatalogue) {
  EXPECT_EQ(menu(kMenuHeading, functionCatalogue.functions, functionCatalogue.count, true, ""),
            "Please select one of the following functions:<P>"
            "1: Change colors of vertices <BR>"
            "2: Print the header information of the current surface to the Log tab <BR>"
            "3: Print a range of color values of the current surface to the Log tab <BR>"
            "4: Hexadecimal to decimal converter for HTML color codes <BR>"
            "5: Write header information of current surface to a text file <BR>");
}

TEST(FunctionMenu, NoLinesForACountOfZeroOrLess) {
  EXPECT_EQ(menu(kMenuHeading, functionCatalogue.functions, 0, true, ""),
            "Please select one of the following functions:<P>");
  EXPECT_EQ(menu("H", functionCatalogue.functions, -3, false, "T"), "H\n\nT");
}

TEST(FunctionMenu, PlainModeNumbersByPosition) {
  const MenuFunction* catalogue = functionCatalogue.functions;
  const MenuFunction reversed[] = {catalogue[4], catalogue[0]};
  EXPECT_EQ(menu(kMenuHeading, reversed, 2, false, ""),
            "Please select one of the following functions:\n\n"
            "1: Write header information of current surface to a text file \n"
            "2: Change colors of vertices \n");
  EXPECT_EQ(menu("", reversed, 2, true, ""),
            "<P>1: Write header information of current surface to a text file <BR>"
            "2: Change colors of vertices <BR>");
}

// The number the menu shows before a title is the number the user enters,
// and the run looks that number up as an id: it must find the same row.
TEST(FunctionCatalogue, EachMenuNumberFindsTheRowOfItsTitle) {
  const std::string text =
      menu("", functionCatalogue.functions, functionCatalogue.count, false, "");
  for (FunctionId number = 1; number <= functionCatalogue.count; ++number) {
    const MenuFunction* row = findMenuFunction(number);
    ASSERT_NE(row, nullptr) << number;
    const std::string line = "\n" + std::to_string(number) + ": " + row->title + " \n";
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST(FunctionCatalogue, FindsEachRowByItsIdAndNoOtherNumber) {
  for (int32_t index = 0; index < functionCatalogue.count; ++index) {
    const MenuFunction& row = functionCatalogue.functions[index];
    EXPECT_EQ(findMenuFunction(row.id), &row) << row.title;
  }
  for (FunctionId id : {0, 6, -1, -2147483647 - 1, 2147483647}) {
    EXPECT_EQ(findMenuFunction(id), nullptr) << id;
  }
}

TEST(FunctionMenu, TooManyLinesAreCutWholeAndStayTerminated) {
  // 3000 lines of about 70 bytes cannot fit 65,536 bytes.
  std::vector<MenuFunction> functions(3000, functionCatalogue.functions[2]);
  std::string text = menu("H", functions.data(), 3000, true, "TRAILER");
  EXPECT_LT(text.size(), 65536u);
  EXPECT_GT(text.size(), 60000u);
  EXPECT_EQ(text.compare(text.size() - 4, 4, "<BR>"), 0) << "ends with a whole line";
  EXPECT_EQ(text.find("TRAILER"), std::string::npos);
}
