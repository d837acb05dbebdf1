#include "widgets/explorerbutton.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace kelvari {
namespace {

struct Thresholds {
    int white;
    int highlight;
    int shadow;
};

Thresholds thresholdsFor(TExplorerButton::TExplorerButtonShadingType type) {
    switch (type) {
    case TExplorerButton::stLight:
        return {205, 127, 68};
    case TExplorerButton::stMedium:
        break;
    case TExplorerButton::stDark:
        return {335, 274, 175};
    }
    return {553, 231, 57};
}

bool sameColour(QRgb a, QRgb b) {
    return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}

int brightness(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

// The image with its top-left pixel's colour made transparent. An image whose
// top-left pixel already is transparent was made by us and keeps its alpha.
QImage transparentCopy(const QImage &image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const QRgb key = out.pixel(0, 0);
    if (qAlpha(key) == 0)
        return out;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (sameColour(line[x], key))
                line[x] &= 0x00FFFFFFu;
        }
    }
    return out;
}

// The disabled look: the image's dark parts, once in the highlight colour one
// pixel right and down, then in the shadow colour in place.
QImage embossed(const QImage &bitmap, const QColor &highlight, const QColor &shadow) {
    if (bitmap.isNull())
        return {};
    const QImage source = transparentCopy(bitmap);
    QImage out(source.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const auto inMask = [&source](int x, int y) {
        const QRgb pixel = source.pixel(x, y);
        return qAlpha(pixel) != 0 && brightness(pixel) < 3 * 192;
    };
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if (inMask(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, highlight.rgb());
        }
    }
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if (inMask(x, y))
                out.setPixel(x, y, shadow.rgb());
        }
    }
    return out;
}

QImage downPattern(const QColor &highlight, const QColor &face) {
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x % 2) == (y % 2) ? highlight.rgb() : face.rgb());
    }
    return pattern;
}

void drawBevel(QPainter &painter, const QRect &rect, const QColor &topLeft,
               const QColor &bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

// The downward triangle of the drop-down mark: rows of 7, 5, 3 and 1 pixels.
void drawMark(QPainter &painter, QPoint topLeft, const QColor &colour) {
    for (int row = 0; row < 4; ++row)
        painter.fillRect(topLeft.x() + row, topLeft.y() + row, 7 - 2 * row, 1, colour);
}

constexpr int kMargin = 3; // left and right alignment
constexpr int kGap = 2;    // between image and caption
constexpr int kMarkRoom = 10;

} // namespace

TExplorerButton::TExplorerButton(QWidget *parent) : QWidget(parent) {
    // A flat, windowless-looking control: it never takes the focus.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    m_unselectedFontColor = palette().color(QPalette::WindowText);
    resize(50, 40);
}

TExplorerButton::~TExplorerButton() = default;

// --- properties -------------------------------------------------------------

void TExplorerButton::setAlignment(TAlignment alignment) {
    m_alignment = alignment;
    update();
}

void TExplorerButton::setAllowAllUp(bool allowAllUp) {
    m_allowAllUp = allowAllUp;
    for (TExplorerButton *member : groupMembers())
        member->m_allowAllUp = allowAllUp;
}

void TExplorerButton::setBevelStyle(TBevelStyle style) {
    m_bevelStyle = style;
    update();
}

void TExplorerButton::setNoFocusBitmap(const QImage &bitmap) {
    m_noFocusBitmap = bitmap;
    updateGreyImage();
}

void TExplorerButton::setBitmap(const QImage &bitmap) {
    m_bitmap = bitmap;
    updateGreyImage();
}

void TExplorerButton::setCaption(const QString &caption) {
    m_caption = caption;
    if (m_options.testFlag(boIconOnly)) {
        m_hint = strippedCaption();
        applyHint();
    }
    updateShortcut();
    update();
}

void TExplorerButton::setGroupIndex(int groupIndex) {
    m_groupIndex = groupIndex;
    if (groupIndex == 0)
        m_down = false;
    update();
}

void TExplorerButton::setDisabledBitmap(const QImage &bitmap) {
    m_disabledBitmap = bitmap;
    update();
}

void TExplorerButton::setDown(bool down) {
    if (m_groupIndex == 0 || down == m_down)
        return;
    m_down = down;
    if (down) {
        for (TExplorerButton *member : groupMembers()) {
            if (member->m_down) {
                member->m_down = false;
                member->update();
            }
        }
    }
    update();
}

void TExplorerButton::setDropDownMenu(QMenu *menu) {
    m_dropDownMenu = menu;
    update();
}

void TExplorerButton::setLayout(TExplorerButtonLayout layout) {
    m_layout = layout;
    update();
}

void TExplorerButton::setOptions(TExplorerButtonOptions options) {
    m_options = options;
    const QString stripped = strippedCaption();
    if (options.testFlag(boIconOnly)) {
        if (m_hint.isEmpty()) {
            m_hint = stripped;
            m_showHint = true;
        }
    } else if (!m_hint.isEmpty() && m_hint == stripped) {
        // Only the hint that icon-only mode made is taken back; one the program
        // set itself stays.
        m_hint.clear();
        m_showHint = false;
    }
    applyHint();
    update();
}

void TExplorerButton::setShadingType(TExplorerButtonShadingType type) {
    m_shadingType = type;
    updateGreyImage();
}

void TExplorerButton::setShowDownPattern(bool show) {
    m_showDownPattern = show;
    update();
}

void TExplorerButton::setUnselectedFontColor(const QColor &color) {
    m_unselectedFontColor = color;
    update();
}

void TExplorerButton::setWordWrap(bool wordWrap) {
    m_wordWrap = wordWrap;
    update();
}

void TExplorerButton::setHint(const QString &hint) {
    m_hint = hint;
    applyHint();
}

void TExplorerButton::setShowHint(bool show) {
    m_showHint = show;
    applyHint();
}

void TExplorerButton::applyHint() {
    setToolTip(m_showHint ? m_hint : QString());
}

QString TExplorerButton::stripAccelerators(const QString &caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            ++i;
            if (i == caption.size())
                break;
        }
        out.append(caption.at(i));
    }
    return out;
}

void TExplorerButton::updateShortcut() {
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    // Alt + the marked letter, anywhere in the button's window, as menus and
    // dialog buttons of the desktop do.
    const QKeySequence sequence = QKeySequence::mnemonic(m_caption);
    if (!sequence.isEmpty())
        m_shortcutId = grabShortcut(sequence);
}

void TExplorerButton::updateGreyImage() {
    if (!m_bitmap.isNull() && m_noFocusBitmap.isNull()) {
        m_greyImage = makeGreyImage(m_bitmap, m_shadingType, palette().color(QPalette::Light),
                                    palette().color(QPalette::Dark));
    } else {
        m_greyImage = QImage();
    }
    update();
}

QImage TExplorerButton::makeGreyImage(const QImage &bitmap, TExplorerButtonShadingType type,
                                      const QColor &highlight, const QColor &shadow) {
    if (bitmap.isNull())
        return {};
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
    const Thresholds limits = thresholdsFor(type);
    const QRgb key = source.pixel(0, 0);
    QImage out(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = in[x];
            if (qAlpha(pixel) == 0 || sameColour(pixel, key)) {
                line[x] = key & 0x00FFFFFFu;
                continue;
            }
            const int s = brightness(pixel);
            QRgb grey = qRgb(0, 0, 0);
            if (s > limits.white)
                grey = qRgb(255, 255, 255);
            else if (s > limits.highlight)
                grey = highlight.rgb();
            else if (s > limits.shadow)
                grey = shadow.rgb();
            line[x] = grey | 0xFF000000u;
        }
    }
    return out;
}

// --- state ------------------------------------------------------------------

QList<TExplorerButton *> TExplorerButton::groupMembers() const {
    QList<TExplorerButton *> members;
    if (m_groupIndex == 0 || !parentWidget())
        return members;
    const auto siblings =
        parentWidget()->findChildren<TExplorerButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (TExplorerButton *sibling : siblings) {
        if (sibling != this && sibling->m_groupIndex == m_groupIndex)
            members.append(sibling);
    }
    return members;
}

bool TExplorerButton::canBeHot() const {
    return isEnabled() && isVisible() && window()->isActiveWindow();
}

bool TExplorerButton::cursorInside() const {
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

void TExplorerButton::setHot(bool hot) {
    if (hot == m_hot)
        return;
    m_hot = hot;
    update();
}

QImage TExplorerButton::displayedImage() const {
    if (!isEnabled()) {
        if (!m_disabledBitmap.isNull())
            return m_disabledBitmap;
        return embossed(m_bitmap, palette().color(QPalette::Light),
                        palette().color(QPalette::Dark));
    }
    if (!m_hot && !m_pressed && !m_down && m_options.testFlag(boMonoDisplay))
        return m_noFocusBitmap.isNull() ? m_greyImage : m_noFocusBitmap;
    return m_bitmap;
}

// --- mouse and keys -----------------------------------------------------------

void TExplorerButton::enterEvent(QEnterEvent *event) {
    QWidget::enterEvent(event);
    setHot(m_pressed || canBeHot());
}

void TExplorerButton::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    setHot(false);
}

void TExplorerButton::mouseMoveEvent(QMouseEvent *event) {
    const bool inside = rect().contains(event->position().toPoint());
    // While pressed the button follows the mouse in and out, so that letting go
    // outside is no click.
    setHot(inside && (m_pressed || canBeHot()));
}

void TExplorerButton::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (!window()->isActiveWindow()) {
        window()->raise();
        window()->activateWindow();
    }
    leftDown();
}

void TExplorerButton::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::RightButton) {
        m_pressed = false;
        m_hot = cursorInside() && canBeHot();
        update();
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_pressed || !isEnabled() || !isVisible())
        return;
    // A release outside ends the hot state even when no move reported leaving.
    if (!rect().contains(event->position().toPoint()))
        m_hot = false;
    leftUp();
}

void TExplorerButton::leftDown() {
    if (!isEnabled() || !isVisible())
        return;
    m_pressed = true;
    m_hot = true;
    repaint();
    if (!m_dropDownMenu)
        return;
    const QPointer<TExplorerButton> self(this);
    m_dropDownMenu->exec(mapToGlobal(QPoint(0, height())));
    if (!self)
        return;
    // The menu took the mouse; whatever the button thought it held is over.
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    m_hot = cursorInside() && canBeHot();
    m_pressed = false;
    update();
}

void TExplorerButton::leftUp() {
    m_pressed = false;
    if (m_hot && m_groupIndex != 0) {
        if (!m_down)
            setDown(true);
        else if (m_allowAllUp)
            m_down = false;
    }
    const bool click = m_hot && !m_dropDownMenu;
    m_hot = false;
    update();
    if (click)
        emit clicked();
}

void TExplorerButton::activateByAccelerator() {
    if (!isEnabled() || !isVisible())
        return;
    const QPointer<TExplorerButton> self(this);
    m_hot = true;
    leftDown();
    if (!self)
        return;
    QCoreApplication::processEvents();
    if (self && m_pressed)
        leftUp();
    if (self && !cursorInside())
        setHot(false);
}

bool TExplorerButton::event(QEvent *event) {
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (m_shortcutId != 0 && shortcut->shortcutId() == m_shortcutId) {
            activateByAccelerator();
            return true;
        }
    }
    return QWidget::event(event);
}

void TExplorerButton::changeEvent(QEvent *event) {
    switch (event->type()) {
    case QEvent::EnabledChange:
        m_pressed = false;
        m_hot = false;
        if (m_groupIndex == 0)
            m_down = false;
        update();
        break;
    case QEvent::PaletteChange:
        updateGreyImage();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// --- painting -----------------------------------------------------------------

namespace {

int textFlags(TExplorerButton::TAlignment alignment, bool wordWrap) {
    int flags = Qt::AlignTop | Qt::TextShowMnemonic;
    flags |= wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    switch (alignment) {
    case TExplorerButton::taLeftJustify:
        return flags | Qt::AlignLeft;
    case TExplorerButton::taRightJustify:
        return flags | Qt::AlignRight;
    case TExplorerButton::taCenter:
        break;
    }
    return flags | Qt::AlignHCenter;
}

} // namespace

TExplorerButton::Placement TExplorerButton::place(const QImage &image) const {
    Placement placement;
    const int w = width();
    const int h = height();
    const bool hasCaption = !m_options.testFlag(boIconOnly) && !m_caption.isEmpty();
    placement.showMark = m_options.testFlag(boPopupMark) && m_dropDownMenu;

    QSize caption;
    if (hasCaption) {
        const int room = qMax(0, w - 4);
        const QRect measured = fontMetrics().boundingRect(
            QRect(0, 0, room, 0x7FFF), textFlags(m_alignment, m_wordWrap), m_caption);
        caption = QSize(qMin(measured.width(), room), measured.height());
    }
    const QSize picture = image.isNull() ? QSize(0, 0) : image.size();
    const int gap = hasCaption && !image.isNull() ? kGap : 0;
    const int markRoom = placement.showMark ? kMarkRoom : 0;

    const auto alignedX = [&](int blockWidth) {
        switch (m_alignment) {
        case taLeftJustify:
            return kMargin;
        case taRightJustify:
            return w - kMargin - blockWidth;
        case taCenter:
            break;
        }
        return (w - blockWidth) / 2;
    };

    QPoint imageAt;
    QPoint captionAt;
    switch (m_layout) {
    case blBitmapTop:
    case blBitmapBottom: {
        const int top = (h - (picture.height() + gap + caption.height())) / 2;
        imageAt.setX(alignedX(picture.width() + markRoom));
        captionAt.setX(alignedX(caption.width()));
        if (m_layout == blBitmapTop) {
            imageAt.setY(top);
            captionAt.setY(top + picture.height() + gap);
        } else {
            captionAt.setY(top);
            imageAt.setY(top + caption.height() + gap);
        }
        break;
    }
    case blBitmapLeft:
    case blBitmapRight: {
        const int left = alignedX(picture.width() + markRoom + gap + caption.width());
        imageAt.setY((h - picture.height()) / 2);
        captionAt.setY((h - caption.height()) / 2);
        if (m_layout == blBitmapLeft) {
            imageAt.setX(left);
            captionAt.setX(left + picture.width() + markRoom + gap);
        } else {
            captionAt.setX(left);
            imageAt.setX(left + caption.width() + gap);
        }
        break;
    }
    }
    placement.image = QRect(imageAt, picture);
    placement.caption = QRect(captionAt, caption);
    if (placement.showMark) {
        const QRect anchor = image.isNull() ? placement.caption : placement.image;
        placement.mark =
            QPoint(anchor.x() + anchor.width() + kGap, anchor.y() + (anchor.height() - 4) / 2);
    }
    return placement;
}

QRect TExplorerButton::imageRect() const {
    return place(displayedImage()).image;
}

QRect TExplorerButton::captionRect() const {
    return place(displayedImage()).caption;
}

void TExplorerButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QPalette &colours = palette();
    const QColor highlight = colours.color(QPalette::Light);
    const QColor shadow = colours.color(QPalette::Dark);
    const QColor face = colours.color(QPalette::Button);
    const QColor fontColour = colours.color(QPalette::WindowText);
    const QRect frame = rect();

    if (m_down && m_showDownPattern)
        painter.fillRect(frame, QBrush(downPattern(highlight, face)));

    const QImage image = displayedImage();
    const Placement placement = place(image);
    const QImage picture = transparentCopy(image);
    const bool hasCaption = !placement.caption.isEmpty();
    const int flags = textFlags(m_alignment, m_wordWrap);

    const auto drawCaption = [&](const QRect &where, const QColor &colour) {
        if (!hasCaption)
            return;
        painter.setPen(colour);
        painter.drawText(where, flags, m_caption);
    };
    // The sunken look of BevelStyle bsRaised; bsLowered runs the other way.
    const QColor sunkenTopLeft = m_bevelStyle == bsRaised ? shadow : highlight;
    const QColor sunkenBottomRight = m_bevelStyle == bsRaised ? highlight : shadow;

    if (!isEnabled()) {
        if (m_down)
            drawBevel(painter, frame, sunkenTopLeft, sunkenBottomRight);
        if (!picture.isNull())
            painter.drawImage(placement.image.topLeft(), picture);
        drawCaption(placement.caption.translated(1, 1), highlight);
        drawCaption(placement.caption, shadow);
        return;
    }

    if ((m_pressed && m_hot) || m_down) {
        drawBevel(painter, frame, sunkenTopLeft, sunkenBottomRight);
        drawCaption(m_bevelStyle == bsRaised ? placement.caption.translated(1, 1)
                                             : placement.caption,
                    fontColour);
        if (!picture.isNull())
            painter.drawImage(placement.image.topLeft() + QPoint(1, 1), picture);
        if (placement.showMark)
            drawMark(painter, placement.mark + QPoint(1, 1), fontColour);
        return;
    }

    if (m_hot)
        drawBevel(painter, frame, sunkenBottomRight, sunkenTopLeft);
    const QColor captionColour = m_hot ? fontColour : m_unselectedFontColor;
    drawCaption(m_bevelStyle == bsLowered ? placement.caption.translated(1, 1) : placement.caption,
                captionColour);
    if (!picture.isNull())
        painter.drawImage(placement.image.topLeft(), picture);
    if (placement.showMark)
        drawMark(painter, placement.mark, captionColour);
}

} // namespace kelvari
