// Writes the localisation file with every built-in default text, section by
// section, for the Windows installer to put into the program data folder:
//   tavlix_loc_defaults OUT.ini
// Lines end in CR LF, as the system's profile functions write them.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string_view>
#include <vector>

#include "settings/localised_text_table.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tavlix_loc_defaults OUT.ini\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  // Each section once, in the order the table first names it.
  std::vector<std::string_view> sections;
  for (const auto& entry : tavlix::settings::LocTextTable())
    if (std::find(sections.begin(), sections.end(), entry.section) == sections.end())
      sections.push_back(entry.section);
  for (const std::string_view section : sections) {
    out << '[' << section << "]\r\n";
    for (const auto& entry : tavlix::settings::LocTextTable()) {
      if (entry.section != section) continue;
      // The profile functions strip the blanks around a value unless quoted.
      const std::string_view text = entry.default_text;
      const bool quote = !text.empty() && (text.front() == ' ' || text.back() == ' ');
      out << entry.key << '=' << (quote ? "\"" : "") << text << (quote ? "\"" : "") << "\r\n";
    }
    out << "\r\n";
  }
  out.close();
  if (!out) {
    std::cerr << "tavlix_loc_defaults: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
