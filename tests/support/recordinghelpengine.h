#pragma once
// A help engine for tests: it shows nothing and writes down every request, as
// "context 10006", "contents", "keywords" or "quit", in order.

#include "platform/helpengine.h"

#include <QList>
#include <QStringList>

namespace kelvari::test {

class RecordingHelpEngine : public HelpEngine {
public:
    QStringList requests;

    void setHelpFile(const QString &path) override { m_helpFile = path; }
    QString helpFile() const override { return m_helpFile; }
    void showContext(int context) override {
        requests.append(QStringLiteral("context ") + QString::number(context));
    }
    void showContents() override { requests.append(QStringLiteral("contents")); }
    void showKeywordSearch() override { requests.append(QStringLiteral("keywords")); }
    void quit() override { requests.append(QStringLiteral("quit")); }

private:
    QString m_helpFile;
};

} // namespace kelvari::test
