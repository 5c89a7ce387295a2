#pragma once

#include <QString>
#include <QStringList>

#include "panel/Dialogs.h"

namespace lcd::testing {

// Answers every box at once and keeps what each showed.
class FakeDialogs : public Dialogs {
  public:
    struct Shown {
        QString kind;
        QString text;
        QString detail;
    };

    explicit FakeDialogs(QList<Shown>& shown) : shown_(shown) {}

    void ErrorBox(const QString& text, const QString& detail) override {
        shown_.append({"error", text, detail});
    }
    void ShowMessage(const QString& text) override { shown_.append({"message", text, {}}); }
    void ShowException(const QString& text) override { shown_.append({"exception", text, {}}); }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return saveAs; }
    QString OpenFileName(const QString&, const QStringList& filters) override {
        openFilters = filters;
        return openAnswer;
    }

    QString saveAs;
    QString openAnswer;
    QStringList openFilters;

  private:
    QList<Shown>& shown_;
};

}  // namespace lcd::testing
