#pragma once

namespace vardelmo::cli {

// Whether the person reads Portuguese: the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty names it ("pt_BR.UTF-8", "pt_PT", "pt"), as the C library would choose, but
// read from the variables themselves, so that no generated locale is needed; with none set,
// the system's own language (Windows keeps it there).
bool portugueseAsked();

// Installs Qt's own Portuguese (its parser's refusals and help headings, the menus it draws)
// and, with `commandLine`, the program's own command-line words. They are looked for beside
// the program (translations/, as the Windows release and the build tree hold them), where a
// Linux install puts them (../share/vardelmo/translations) and, for Qt's, in Qt's own folder.
// Needs a QCoreApplication. False when a translation was not found: the words stay English.
bool installPortuguese(bool commandLine);

}  // namespace vardelmo::cli
