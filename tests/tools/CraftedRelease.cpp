#include "CraftedRelease.h"

#include <QFile>

namespace {

QStringList xmlLines()
{
    return QString(R"(<?xml version="1.0" encoding="utf-8"?>
<ICD10PCS.tabular>
  <version>test</version>
  <pcsTable>
    <axis pos="1" values="1"><title>Section</title><label code="0">Medical and Surgical</label></axis>
    <axis pos="2" values="1"><title>Body System</title><label code="2">Heart and Great Vessels</label></axis>
    <axis pos="3" values="1"><title>Operation</title><label code="1">Bypass</label>
      <definition>Altering the route of passage of the contents of a tubular body part</definition></axis>
    <pcsRow codes="2">
      <axis pos="4" values="1"><title>Body Part</title><label code="0">Coronary Artery, One Artery</label></axis>
      <axis pos="5" values="1"><title>Approach</title><label code="0">Open</label></axis>
      <axis pos="6" values="2"><title>Device</title>
        <label code="9">Autologous Venous Tissue</label>
        <label code="A">Autologous Arterial Tissue</label></axis>
      <axis pos="7" values="1"><title>Qualifier</title><label code="3">Coronary Artery</label></axis>
    </pcsRow>
    <pcsRow codes="1">
      <axis pos="4" values="1"><title>Body Part</title><label code="1">Coronary Artery, Two Arteries</label></axis>
      <axis pos="5" values="1"><title>Approach</title><label code="0">Open</label></axis>
      <axis pos="6" values="1"><title>Device</title><label code="9">Autologous Venous Tissue</label></axis>
      <axis pos="7" values="1"><title>Qualifier</title><label code="3">Coronary Artery</label></axis>
    </pcsRow>
  </pcsTable>
  <pcsTable>
    <axis pos="1" values="1"><title>Section</title><label code="6">Extracorporeal or Systemic Therapies</label></axis>
    <axis pos="2" values="1"><title>Body System</title><label code="A">Physiological Systems</label></axis>
    <axis pos="3" values="1"><title>Operation</title><label code="B">Perfusion</label></axis>
    <pcsRow codes="1">
      <axis pos="4" values="1"><title>Body System</title><label code="5">Respiratory System</label></axis>
      <axis pos="5" values="1"><title>Duration</title><label code="0">Single</label></axis>
      <axis pos="6" values="1"><title>Qualifier</title><label code="B">Donor Organ</label></axis>
      <axis pos="7" values="1"><title>Qualifier</title><label code="Z">No Qualifier</label></axis>
    </pcsRow>
  </pcsTable>
</ICD10PCS.tabular>)").split('\n');
}

void writeLines(const QString &path, const QStringList &lines, const char *lineEnd)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString &line : lines)
        file.write(line.toLatin1() + lineEnd);
}

} // namespace

CraftedRelease::CraftedRelease()
{
    order = {
        orderLine(1, "021", "Heart and Great Vessels, Bypass", "Heart and Great Vessels, Bypass"),
        orderLine(2, "0210093", "Bypass 1 Cor Art from Cor Art w Autol Vn, Open",
                  "Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Venous Tissue, Open Approach"),
        orderLine(3, "02100A3", "Bypass 1 Cor Art from Cor Art w Autol Art, Open",
                  "Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Arterial Tissue, Open Approach"),
        orderLine(4, "0211093", "Bypass 2 Cor Art from Cor Art w Autol Vn, Open",
                  "Bypass Coronary Artery, Two Arteries from Coronary Artery with Autologous Venous Tissue, Open Approach"),
        orderLine(5, "6AB", "Physiological Systems, Perfusion", "Physiological Systems, Perfusion"),
        orderLine(6, "6AB50BZ", "Perfusion of Donor Respiratory System, Single",
                  "Perfusion of Donor Respiratory System, Single"),
    };
    tables = xmlLines();
    gem = {
        "0210093 3612  10000",
        "0210093 3611  10000",
        "0210093 3699  10000",
        "021009W 3611  10000",  // a code deleted since the GEM: no row of its own
        "02100A3 3611  10000",
        "6AB50BZ NoI9  10000",
    };
    icd9 = {
        "016  Excision of lesion of skull",
        "3611 (Aorto)coronary bypass of one coronary artery",
        "3612 (Aorto)coronary bypass of two coronary arteries",
        "3699 Other operations on vessels of heart",
    };
}

ReleasePaths CraftedRelease::write(const QString &dir) const
{
    const ReleasePaths paths{dir + "/icd10pcs_order_test.txt", dir + "/icd10pcs_tables_test.xml",
                             dir + "/pcs_gem_test.txt", dir + "/icd9_titles_test.txt"};
    writeLines(paths.order, order, "\r\n");
    writeLines(paths.tables, tables, "\n");
    writeLines(paths.gem, gem, "\n");
    writeLines(paths.icd9, icd9, "\n");
    return paths;
}

QString CraftedRelease::orderLine(int number, const QString &code, const QString &shortTitle, const QString &longTitle)
{
    return QString("%1 %2 %3 %4 %5")
        .arg(number, 5, 10, QChar('0'))
        .arg(code, -7)
        .arg(code.size() == 7 ? '1' : '0')
        .arg(shortTitle, -60)
        .arg(longTitle);
}
