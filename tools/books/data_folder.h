// The folder of the data files shipped with the ledger tool (layouts, the
// tax-category table, the standard chart of accounts): "books" beside the
// running program, in the build tree and after installation alike.
#pragma once

#include <string>

namespace ltb::books {

// <folder of the running program>/books; empty when the program's own path
// cannot be read.
std::string BooksDataFolder();

// The layout file `nameOrPath` stands for: a path as given when it names a
// file (it has a '/' or exists), else <data folder>/<name>.layout.
std::string LayoutPath(const std::string& nameOrPath);

}  // namespace ltb::books
