#include <stdlib.h>

#include "plugin/function_menu.h"
#include "plugin/plugin_interface.h"

namespace {

const char* const kPluginName = "Facetkit (v0.2)";
const char* const kAuthor = "<i>Facetkit is written by the Facetkit developers</i>";
const char* const kEmptyText = "";
const char* const kDescriptionHeading = "This Facetkit provides the following functions:";
const char* const kDescriptionTrailer = "<BR>";

// The description, built when the library is loaded, before any export can
// be called, and released when it is unloaded.
class Description {
 public:
  Description()
      : text_(buildFunctionMenu(kDescriptionHeading, functionCatalogue.functions,
                                functionCatalogue.count, true, kDescriptionTrailer)) {}
  ~Description() { free(text_); }
  Description(const Description&) = delete;
  Description& operator=(const Description&) = delete;

  const char* text() const { return text_ != nullptr ? text_ : kEmptyText; }

 private:
  char* text_;
};

const Description description;

}  // namespace

const char* getPluginName() {
  return kPluginName;
}

const char* getPluginDescription() {
  return description.text();
}

const char* getAuthor() {
  return kAuthor;
}

const char* getHelpFile() {
  return kEmptyText;
}

FACETKIT_EXPORT_ALIAS(getGUIScript, getHelpFile, const char*)
