#include "shell/locale_symbols.h"

#include <optional>

namespace shell {

const LocaleSymbols& symbolsOf(const QLocale& locale) {
    thread_local std::optional<QLocale> cachedLocale;
    thread_local LocaleSymbols cached;
    if (!cachedLocale || *cachedLocale != locale) {
        cached = LocaleSymbols{locale.groupSeparator(), locale.decimalPoint(), locale.positiveSign(),
                               locale.negativeSign(), locale.currencySymbol(),
                               locale.dateFormat(QLocale::ShortFormat)};
        cachedLocale = locale;
    }
    return cached;
}

}  // namespace shell
