#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// What a card or row says about its recipient, in the parts an envelope prints.
struct RecipientParts
{
    QString name;
    QString company;
    QStringList streetLines; // the street's lines, then the extended address and PO box
    QString city;
    QString state;
    QString zip;
    QString country;
};

namespace AddressLines {

// The printed lines, top to bottom, none of them blank: the name; the company when it is not
// the name; the street lines; "City, ST ZIP" of the parts present; the country unless it is
// the United States or holds a digit, its dashes printed as hyphens (U+2010), so that the
// ZIP code stays the last run of digits and dashes, which the bar code reads.
[[nodiscard]] QStringList compose(const RecipientParts &parts);

// The name for messages: the recipient's, else the company's.
[[nodiscard]] QString displayName(const RecipientParts &parts);

// True when the parts hold any of the address but the country: a country alone reaches no one.
[[nodiscard]] bool hasAddress(const RecipientParts &parts);

// "US", "USA", "U.S.A.", "United States", "United States of America", in any case.
[[nodiscard]] bool isUnitedStates(QStringView country);

// The text's lines, blanks run together, blank lines left out.
[[nodiscard]] QStringList nonBlankLines(QStringView text);

} // namespace AddressLines
