#pragma once
// The panel picDuplicates: the alternatives of a procedure that maps to several
// ICD-9 codes, one line each, with hidden twins holding each line's record
// identifier and ICD-9 code at the same index.

#include <QFrame>

class QLabel;
class QListWidget;

namespace lookup {

class DuplicatesPanel : public QFrame {
    Q_OBJECT
public:
    explicit DuplicatesPanel(QWidget *parent);

    QLabel *lblDuplicates() const { return lblDuplicates_; }
    QListWidget *lstDuplicates() const { return lstDuplicates_; }
    QListWidget *lstDuplicatesID() const { return lstDuplicatesID_; }
    QListWidget *lstDuplicatesCode() const { return lstDuplicatesCode_; }

    // What a screen reader calls the alternatives: of which procedure they
    // are, when one is named (the focus comes to them from a result that the
    // reader has no time to speak).
    void nameAlternativesOf(const QString &procedure);

    void clear();
    void add(const QString &code, const QString &id, const QString &icd9Code, const QString &icd9Description);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    QLabel *lblDuplicates_;
    QListWidget *lstDuplicates_;
    QListWidget *lstDuplicatesID_;
    QListWidget *lstDuplicatesCode_;
};

} // namespace lookup
