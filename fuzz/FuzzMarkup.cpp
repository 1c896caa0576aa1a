// CMarkup::LoadFromMem on arbitrary bytes in one encoding (FUZZ_ENCODING),
// with whitespace kept and collapsed; a loaded document is walked whole.
#include <cstdlib>
#include <cwchar>
#include <initializer_list>

#include "markup/CMarkup.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The system's narrow code page on its target machines is GBK.
  setenv("LC_ALL", "zh_CN.GBK", 1);
  return 0;
}

static void Walk(const CMarkupNode& first, int depth) {
  WCHAR buffer[8];
  for (CMarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
    (void)wcslen(node.GetName());
    (void)wcslen(node.GetValue());
    for (int i = 0; i < node.GetAttributeCount(); i++) {
      LPCWSTR name = node.GetAttributeName(i);
      (void)wcslen(node.GetAttributeValue(i));
      (void)wcslen(node.GetAttributeValue(name));
      node.GetAttributeValue(name, buffer, 8);
    }
    if (node.HasChildren()) {
      if (node.GetChild().GetParent().GetName() != node.GetName()) abort();
      Walk(node.GetChild(), depth + 1);
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool preserve : {true, false}) {
    CMarkup markup;
    markup.SetPreserveWhitespace(preserve);
    if (markup.LoadFromMem(data, static_cast<DWORD>(size), FUZZ_ENCODING)) {
      Walk(markup.GetRoot(), 0);
    } else {
      WCHAR message[100], location[50];
      markup.GetLastErrorMessage(message, 100);
      markup.GetLastErrorLocation(location, 50);
      if (message[99] != 0 || location[49] != 0 || markup.GetRoot().IsValid()) abort();
    }
  }
  return 0;
}
