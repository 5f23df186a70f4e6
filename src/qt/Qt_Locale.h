// The user's number settings, read through Qt's own locale data, so that a French
// setting gives a comma even where the C library's locale is not generated.
#pragma once

// Sets the real format's decimal separator from the locale that LC_ALL,
// LC_NUMERIC or LANG name; a point when it has a separator of several characters.
void InitDecimalSeparatorFromLocale();
