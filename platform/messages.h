// The program's own messages in the user's language: GNU gettext with
// English message ids and one text domain shared by every program of the
// project. Under the C locale or an English one the ids come back as they
// are; under ja_JP the catalog's Japanese.
#pragma once

#include <string>

namespace ltb::platform {

inline constexpr char kTextDomain[] = "ledtaxbridge";

// Sets the locale from the environment (LANG, LC_ALL, LC_MESSAGES; glibc's
// strerror follows it too) and binds the text domain to its catalogs: the
// folder `locale` beside the running program (the build tree and copies of
// it), else the installed `share/locale` two folders above it. Translations
// come in UTF-8. Call once at the start of main, before any message.
void InitMessages();

// The translation of `msgid`, UTF-8: for text written straight to the
// terminal (help, errors of the command line) and for UTF-8 tools.
const char* Tr(const char* msgid) __attribute__((format_arg(1)));

// The translation of `msgid` in CP932, the codeset of every text the
// program handles: for messages that travel through the seat, which
// converts them to UTF-8 at the terminal or the window.
std::string Tr932(const char* msgid);

// Marks an English message id for the catalog where it is stored, to be
// translated (Tr) where it is shown.
constexpr const char* MessageId(const char* id) { return id; }

// printf into a std::string; with a translated format, the arguments fill
// the translation's placeholders.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ltb::platform
