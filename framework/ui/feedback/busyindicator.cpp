#include "framework/ui/feedback/busyindicator.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

QString captionOf(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("Copiando...");
    case 2:
        return QStringLiteral("Pesquisando...");
    default:
        return QStringLiteral("Processando...");
    }
}

// Covers its form, follows its size and paints the dimming, the panel, the wheel and the caption.
class BusyOverlay : public QWidget {
public:
    BusyOverlay(QWidget *form, const QString &caption)
        : QWidget(form) {
        setObjectName(QStringLiteral("busyIndicator"));
        setAccessibleName(caption);
        setGeometry(form->rect());
        form->installEventFilter(this);
        connect(&wheel, &QTimer::timeout, this, [this] {
            step = (step + 1) % spokes;
            update();
        });
        wheel.start(90);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == parent() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }

    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(0, 0, 0, 70));
        QFont font = painter.font();
        font.setPointSizeF(font.pointSizeF() * 1.3);
        font.setBold(true);
        painter.setFont(font);
        const int textWidth = painter.fontMetrics().horizontalAdvance(accessibleName());
        const QRect panel(0, 0, textWidth + 100, 72);
        const QRect placed = panel.translated(rect().center() - panel.center());
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(placed, 8, 8);
        paintWheel(painter, QPoint(placed.left() + 36, placed.center().y()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(placed.adjusted(64, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, accessibleName());
    }

private:
    static constexpr int spokes = 12;

    // Spokes fading behind the leading one.
    void paintWheel(QPainter &painter, const QPoint &centre) const {
        painter.save();
        painter.translate(centre);
        QColor colour = palette().color(QPalette::Highlight);
        for (int i = 0; i < spokes; ++i) {
            colour.setAlphaF(1.0 - double((step - i + spokes) % spokes) / spokes);
            painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(0, -8), QPointF(0, -15));
            painter.rotate(360.0 / spokes);
        }
        painter.restore();
    }

    QTimer wheel;
    int step = 0;
};

QPointer<QWidget> indicator;

} // namespace

void ActiveShowAvi(QWidget *form, int kind) {
    DeactiveShowAvi();
    QWidget *host = form ? form : QApplication::activeWindow();
    if (!host)
        return;
    indicator = new BusyOverlay(host, captionOf(kind));
    indicator->show();
    indicator->raise();
    indicator->repaint();
}

void DeactiveShowAvi() {
    delete indicator.data();
}

QWidget *busyIndicator() {
    return indicator.data();
}
