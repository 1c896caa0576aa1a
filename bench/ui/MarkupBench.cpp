// Parses generated skin documents with CMarkup::LoadFromMem (UTF-8) and with
// pugixml's load_buffer_inplace on the same bytes, and prints the times and
// the ratio. Run a release build: build/release/bench/ui/bench_markup.
//
// Two measures per document: parse only, and parse then read every element
// name and every attribute (CMarkup maps attributes lazily, pugixml while
// parsing). pugixml gets a fresh copy of the bytes each round, which its
// in-place parse needs; the copy is timed, as CMarkup's own copy is.
// "wide parse" is CMarkup::Load of the same document already in WCHARs: the
// parse alone, without the UTF-8 conversion. "widen floor" only widens the
// bytes into a fresh WCHAR buffer, as ASCII: what any parser keeping its
// document in WCHARs pays before it reads a unit.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Win32.h"

#include <pugixml.hpp>

#include "markup/CMarkup.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

namespace {

// A skin-like tree: layouts nested `depth` deep, each holding `fanout`
// controls with typical attributes, some text with entities and CJK.
void Generate(std::string& out, int depth, int fanout, int& counter) {
  static const char* kinds[] = {"Button", "Label", "Text", "Option", "Progress", "Control"};
  for (int i = 0; i < fanout; i++) {
    int n = counter++;
    if (depth > 0 && i % 2 == 0) {
      out += "<VerticalLayout name=\"layout" + std::to_string(n) + "\" pos=\"0,0,400,300\" padding=\"4,4,4,4\" ";
      out += "bkcolor=\"#FF202020\" inset=\"2,2,2,2\" childpadding=\"3\">\n";
      Generate(out, depth - 1, fanout, counter);
      out += "</VerticalLayout>\n";
    } else {
      const char* kind = kinds[n % 6];
      out += "  <";
      out += kind;
      out += " name=\"ctl" + std::to_string(n) + "\" float=\"true\" pos=\"" + std::to_string(n % 500) +
             ",10,120,40\" text=\"\xe5\xbc\x80\xe5\xa7\x8b\xe6\xb8\xb8\xe6\x88\x8f &amp; more\" ";
      out += "normalimage=\"file='btn_normal.png' source='0,0,96,32' corner='4,4,4,4'\" hotimage=\"btn_hot.png\" ";
      out += "textcolor=\"#FFFFFFFF\" font=\"1\" tooltip=\"&lt;tip&gt;\" visible=\"true\" />\n";
    }
  }
}

std::string Document(size_t approxBytes) {
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"800,600\" caption=\"0,0,0,32\">\n";
  int counter = 0;
  while (out.size() < approxBytes) Generate(out, 5, 4, counter);
  out += "</Window>\n";
  return out;
}

template <typename F>
double BestSeconds(int rounds, F&& f) {
  double best = 1e9;
  for (int i = 0; i < rounds; i++) {
    auto start = std::chrono::steady_clock::now();
    f();
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    best = std::min(best, d.count());
  }
  return best;
}

size_t WalkMarkup(CMarkupNode node) {
  size_t sum = 0;
  for (; node.IsValid(); node = node.GetSibling()) {
    sum += node.GetName()[0];
    for (int i = 0; i < node.GetAttributeCount(); i++) sum += node.GetAttributeValue(i)[0];
    if (node.HasChildren()) sum += WalkMarkup(node.GetChild());
  }
  return sum;
}

size_t WalkPugi(pugi::xml_node node) {
  size_t sum = 0;
  for (; node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    sum += static_cast<unsigned char>(node.name()[0]);
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
      sum += static_cast<unsigned char>(a.value()[0]);
    sum += WalkPugi(node.first_child());
  }
  return sum;
}

}  // namespace

int main() {
  const int rounds = 60;
  std::printf("%-10s %-12s %12s %12s %8s\n", "document", "measure", "CMarkup ms", "pugixml ms", "ratio");
  for (size_t size : {size_t{64} << 10, size_t{1} << 20, size_t{4000} << 10}) {
    const std::string doc = Document(size);
    std::wstring wide;
    {
      int n = ::MultiByteToWideChar(CP_UTF8, 0, doc.data(), static_cast<int>(doc.size()), nullptr, 0);
      wide.resize(static_cast<size_t>(n));
      ::MultiByteToWideChar(CP_UTF8, 0, doc.data(), static_cast<int>(doc.size()), wide.data(), n);
    }
    // CMarkup's share without the UTF-8 conversion: Load of the wide text.
    double wideParse = BestSeconds(rounds, [&] {
      CMarkup markup;
      if (!markup.Load(wide.c_str())) std::abort();
    });
    std::vector<char> copy(doc.size());
    size_t sink = 0;
    for (bool walk : {false, true}) {
      double ours = BestSeconds(rounds, [&] {
        CMarkup markup;
        if (!markup.LoadFromMem(reinterpret_cast<const BYTE*>(doc.data()), static_cast<DWORD>(doc.size()))) std::abort();
        if (walk) sink += WalkMarkup(markup.GetRoot());
      });
      double theirs = BestSeconds(rounds, [&] {
        std::memcpy(copy.data(), doc.data(), doc.size());
        pugi::xml_document xml;
        if (!xml.load_buffer_inplace(copy.data(), copy.size(), pugi::parse_default, pugi::encoding_utf8)) std::abort();
        if (walk) sink += WalkPugi(xml.first_child());
      });
      char label[32];
      std::snprintf(label, sizeof label, "%zu KiB", doc.size() >> 10);
      std::printf("%-10s %-12s %12.3f %12.3f %8.2f\n", label, walk ? "parse+walk" : "parse", ours * 1e3,
                  theirs * 1e3, theirs / ours);
    }
    double widen = BestSeconds(rounds, [&] {
      const auto* bytes = reinterpret_cast<const unsigned char*>(doc.data());
      const size_t n = doc.size();
      auto text = static_cast<WCHAR*>(std::malloc((n + 1) * sizeof(WCHAR)));
      if (text == nullptr) std::abort();
      // Blocks of a fixed count, so that the compiler vectorises them at -O2.
      size_t i = 0;
      for (; n - i >= 16; i += 16)
        for (size_t k = 0; k < 16; k++) text[i + k] = bytes[i + k];
      for (; i < n; i++) text[i] = bytes[i];
      text[n] = 0;
      sink += static_cast<size_t>(text[n / 2]);
      std::free(text);
    });
    std::printf("%-10s %-12s %12.3f %12s\n", "", "wide parse", wideParse * 1e3, "-");
    std::printf("%-10s %-12s %12.3f %12s\n", "", "widen floor", widen * 1e3, "-");
    if (sink == 42) std::printf(" ");
  }
  std::printf("ratio = pugixml time / CMarkup time (above 1: CMarkup is faster); best of %d rounds\n", rounds);
  return 0;
}
