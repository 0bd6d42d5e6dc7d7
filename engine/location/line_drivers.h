// The drivers that read a loaded line (CurrentLine) position by position: the 11-character
// container number, a line of digits, a line of letters and the 4-character size/type code.
// They write the per-position status and the line's text ("?" for an unread position).
#pragma once

inline constexpr int ReadingPlain = 0;
inline constexpr int ReadingDoubtful = 10;

// Letters at positions 0 to 3, digits at 4 to 10, the check digit at 10: ReadingPlain or
// ReadingDoubtful.
int RecognizeContainerNumber();
// A line of digits whose last position is a check digit (the serial number and check digit).
int RecognizeDigitLine();
// A line of letters (the owner code).
int RecognizeLetterLine();
// Digits at positions 0, 1 and 3, a type letter at 2, with the fixed substitutions of
// confusable characters. Answers 0.
int RecognizeSizeTypeCode();
// The substitutions of confusable characters on the size/type text of CurrentLine, in order.
void SubstituteSizeTypeCharacters();
// 1 when the first n positions of CurrentLine read too doubtfully to trust, else 0.
int IsNumberDoubtful(int n);
