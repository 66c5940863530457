#pragma once
// A tiny release written by a test, in the four CMS formats, that covers every
// kind of code: one mapped to three ICD-9-CM codes (in an order that is not
// sorted), one mapped to one, one with no equivalent (NoI9), one newer than the
// GEM, and a GEM row of a code the order file no longer has. Tests break one
// line of it to see the builder refuse.

#include "ToolsTestSupport.h"

#include <QStringList>

struct CraftedRelease {
    CraftedRelease();

    // Lines without line ends; write() gives the order file CRLF, the rest LF.
    QStringList order;
    QStringList tables;
    QStringList gem;
    QStringList icd9;

    ReleasePaths write(const QString &dir) const;

    // One order-file line in the fixed-width layout.
    static QString orderLine(int number, const QString &code, const QString &shortTitle, const QString &longTitle);
};
