#pragma once
// The grid's in-place editor: a line edit showing the decoded cell text. The
// grid decides what a finished edit writes (nothing when the text is unchanged,
// a refusal when CP932 cannot hold it).

#include <QStyledItemDelegate>

namespace kelvari {

class TmStrGrid;

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(TmStrGrid &grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TmStrGrid &m_grid;
};

} // namespace kelvari
