// In-place cutting of script text: comma-separated item fields, quoted
// fields and multi-strings (NUL-separated strings ended by an extra NUL).
#pragma once

// With a separator character: writes NUL over its first occurrence in `text`
// and returns the text after it; null (and `text` unchanged) when it does
// not occur. With the separator '\0': `text` is one string of a multi-string
// and the result is the next string, null when `text` is empty or the next
// string is (the end of the list). A null `text` gives null.
char* SplitAt(char* text, char separator);

// As SplitAt with a separator character, but a separator between a pair of
// double quotes (counted from the start of `text`) does not split.
char* SplitAtOutsideQuotes(char* text, char separator);

// Removes every leading and every trailing `c` in place.
void TrimChar(char* text, char c);

// atoi as the C runtime does it: leading white space, an optional sign,
// then the decimal digits up to the first other character; 0 when there
// are none. A number beyond the int range gives INT_MAX or INT_MIN.
int AtoI(const char* text);
