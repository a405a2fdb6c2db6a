#pragma once

#include <QCoreApplication>

namespace vardelmo::cli {

// The command line's own words: English in the source, in the locale's language where the
// program has a translation of them (translations/vardelmo_*.ts).
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Texts)
};

}  // namespace vardelmo::cli
