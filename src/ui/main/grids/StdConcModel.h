#pragma once

#include <QAbstractTableModel>

#include <map>

class TRunSession;

// The standard concentrations of the Run Details tab read from the run session: column 0 the
// names ("S1"...), column 1 the values with three decimals, one row per standard, the last the
// zero standard. A value typed is shown as typed until the session's value no longer is its
// number; the page hands it to the session as a step.
class TStdConcModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Without a session there are no standards.
    explicit TStdConcModel(const TRunSession *session, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // For a screen reader: a value's row header is its standard's name, its column header the
    // grid's caption.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Never the names, never the zero standard; S1 always, the ones between only when every
    // value is typed by hand.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Default values: only S1 is typed, the others are derived.
    void SetDefaultValues(bool defaultValues);
    bool DefaultValues() const { return mDefaultValues; }

    // The session's standards and values again, nothing typed.
    void Refresh();
    // The session's values changed: typed texts that no longer give its number go.
    void FollowSession();

    QString Cell(int col, int row) const;
    // Types a value (column 1); ignored elsewhere.
    void SetCell(int col, int row, const QString &text);

private:
    QString SessionValue(int row) const;

    const TRunSession *mSession;
    int mRows = 0;
    bool mDefaultValues = true;
    std::map<int, QString> mTyped; // row -> text
};
