#pragma once

#include <QString>

// Many envelopes from the command line: the program itself on generated CSV
// lists, timed and measured from the outside, beside glabels-3-batch making
// the same pages (return address, three recipient lines) from the same list.
struct BatchFigures
{
    double ms1000 = 0; // 1,000 envelopes to a PDF, median
    double glabelsMs1000 = 0; // 0 when glabels-3-batch is not installed
    double peakMiB200 = 0; // peak memory of a run of 200 envelopes
    double peakMiB20000 = 0; // and of 20,000
};

[[nodiscard]] BatchFigures measureBatch(const QString &quillmark, int runs);
