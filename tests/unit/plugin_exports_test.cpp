#include <gtest/gtest.h>

#include <cstring>

#include "plugin/plugin_interface.h"

extern "C" const char* getGUIScript();

TEST(PluginExports, NameAuthorAndEmptyTexts) {
  EXPECT_STREQ(getPluginName(), "Facetkit (v0.2)");
  const char* author = getAuthor();
  EXPECT_EQ(std::strncmp(author, "<i>", 3), 0);
  EXPECT_STREQ(author + std::strlen(author) - 4, "</i>");
  EXPECT_STREQ(getHelpFile(), "");
  EXPECT_EQ(getHelpFile(), getGUIScript());
}

TEST(PluginExports, DescriptionIsBuiltOnceAndStable) {
  const char* first = getPluginDescription();
  EXPECT_STREQ(first,
               "This Facetkit provides the following functions:<P>"
               "1: Change colors of vertices <BR>"
               "2: Print the header information of the current surface to the Log tab <BR>"
               "3: Print a range of color values of the current surface to the Log tab <BR>"
               "4: Hexadecimal to decimal converter for HTML color codes <BR>"
               "5: Write header information of current surface to a text file <BR><BR>");
  EXPECT_EQ(getPluginDescription(), first);
}

TEST(PluginExports, ObjectsAreIndependentAndEndThroughTheInterface) {
  ZDVNPluginInterface* first = createPlugin();
  ZDVNPluginInterface* second = createPlugin();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  // No host module in this process: both refuse alike, touching no host.
  EXPECT_FALSE(first->initPlugin());
  EXPECT_FALSE(second->execute());
  delete first;
  delete second;
}
