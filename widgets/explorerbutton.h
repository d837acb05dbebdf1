#pragma once
// The flat toolbar button: image and caption with no frame at rest, a raised
// bevel under the mouse, a sunken one while pressed or latched down, and a grey
// image of its bitmap while the mouse is elsewhere. Buttons with the same
// nonzero GroupIndex on one parent behave as a radio group.

#include <QColor>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace kelvari {

class TExplorerButton : public QWidget {
    Q_OBJECT
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TBevelStyle { bsLowered, bsRaised };
    Q_ENUM(TBevelStyle)
    enum TExplorerButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };
    Q_ENUM(TExplorerButtonLayout)
    enum TExplorerButtonOption { boMonoDisplay = 0x1, boIconOnly = 0x2, boPopupMark = 0x4 };
    Q_DECLARE_FLAGS(TExplorerButtonOptions, TExplorerButtonOption)
    Q_FLAG(TExplorerButtonOptions)
    enum TExplorerButtonShadingType { stLight, stMedium, stDark };
    Q_ENUM(TExplorerButtonShadingType)

private:
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(TBevelStyle BevelStyle READ BevelStyle WRITE setBevelStyle)
    Q_PROPERTY(QImage NoFocusBitmap READ NoFocusBitmap WRITE setNoFocusBitmap)
    Q_PROPERTY(QImage Bitmap READ Bitmap WRITE setBitmap)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)
    Q_PROPERTY(QImage DisabledBitmap READ DisabledBitmap WRITE setDisabledBitmap)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(QMenu *DropDownMenu READ DropDownMenu WRITE setDropDownMenu)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(TExplorerButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(TExplorerButtonOptions Options READ Options WRITE setOptions)
    Q_PROPERTY(TExplorerButtonShadingType ShadingType READ ShadingType WRITE setShadingType)
    Q_PROPERTY(bool ShowDownPattern READ ShowDownPattern WRITE setShowDownPattern)
    Q_PROPERTY(QColor UnselectedFontColor READ UnselectedFontColor WRITE setUnselectedFontColor)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(QString Hint READ Hint WRITE setHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)

public:
    explicit TExplorerButton(QWidget *parent = nullptr);
    ~TExplorerButton() override;

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allowAllUp);
    TBevelStyle BevelStyle() const { return m_bevelStyle; }
    void setBevelStyle(TBevelStyle style);
    QImage NoFocusBitmap() const { return m_noFocusBitmap; }
    void setNoFocusBitmap(const QImage &bitmap);
    QImage Bitmap() const { return m_bitmap; }
    void setBitmap(const QImage &bitmap);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int groupIndex);
    QImage DisabledBitmap() const { return m_disabledBitmap; }
    void setDisabledBitmap(const QImage &bitmap);
    bool Down() const { return m_down; }
    void setDown(bool down);
    QMenu *DropDownMenu() const { return m_dropDownMenu; }
    void setDropDownMenu(QMenu *menu);
    TExplorerButtonLayout Layout() const { return m_layout; }
    void setLayout(TExplorerButtonLayout layout);
    TExplorerButtonOptions Options() const { return m_options; }
    void setOptions(TExplorerButtonOptions options);
    TExplorerButtonShadingType ShadingType() const { return m_shadingType; }
    void setShadingType(TExplorerButtonShadingType type);
    bool ShowDownPattern() const { return m_showDownPattern; }
    void setShowDownPattern(bool show);
    QColor UnselectedFontColor() const { return m_unselectedFontColor; }
    void setUnselectedFontColor(const QColor &color);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);
    // The tool tip text and whether it is shown.
    QString Hint() const { return m_hint; }
    void setHint(const QString &hint);
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show);

    // State for the window and for tests.
    bool isHot() const { return m_hot; }
    bool isPressed() const { return m_pressed; }
    QImage greyImage() const { return m_greyImage; }
    // The image the button draws in its present state (before transparency).
    QImage displayedImage() const;
    // Where the image and the caption go for the present size and options.
    QRect imageRect() const;
    QRect captionRect() const;

    QSize sizeHint() const override { return {50, 40}; }

    // The grey image of `bitmap`: its top-left pixel's colour is transparent
    // (alpha 0 in the result); every other pixel becomes white, `highlight`,
    // `shadow` or black by the sum of its red, green and blue values.
    static QImage makeGreyImage(const QImage &bitmap, TExplorerButtonShadingType type,
                                const QColor &highlight, const QColor &shadow);
    // `caption` as shown: "&x" is x, "&&" is "&".
    static QString stripAccelerators(const QString &caption);

signals:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Placement {
        QRect image;
        QRect caption;
        QPoint mark; // top-left of the arrow mark; only with showMark
        bool showMark = false;
    };
    Placement place(const QImage &image) const;
    QList<TExplorerButton *> groupMembers() const;
    bool canBeHot() const;
    bool cursorInside() const;
    void setHot(bool hot);
    void leftDown();
    void leftUp();
    void activateByAccelerator();
    void updateGreyImage();
    void updateShortcut();
    void applyHint();
    QString strippedCaption() const { return stripAccelerators(m_caption); }

    TAlignment m_alignment = taCenter;
    bool m_allowAllUp = false;
    TBevelStyle m_bevelStyle = bsRaised;
    QImage m_noFocusBitmap;
    QImage m_bitmap;
    QString m_caption;
    int m_groupIndex = 0;
    QImage m_disabledBitmap;
    bool m_down = false;
    QPointer<QMenu> m_dropDownMenu;
    TExplorerButtonLayout m_layout = blBitmapTop;
    TExplorerButtonOptions m_options = {boMonoDisplay, boPopupMark};
    TExplorerButtonShadingType m_shadingType = stMedium;
    bool m_showDownPattern = true;
    QColor m_unselectedFontColor;
    bool m_wordWrap = false;
    QString m_hint;
    bool m_showHint = false;

    bool m_hot = false;
    bool m_pressed = false;
    QImage m_greyImage;
    int m_shortcutId = 0;
};

} // namespace kelvari

Q_DECLARE_OPERATORS_FOR_FLAGS(kelvari::TExplorerButton::TExplorerButtonOptions)
