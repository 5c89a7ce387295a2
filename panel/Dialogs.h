#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace lcd {

// Every modal box and dialog the window shows goes through here, so tests can read and answer them.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // An error box with one OK button; detail, when not empty, sits under the text.
    virtual void ErrorBox(const QString& text, const QString& detail) = 0;
    // A plain message with one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // The report of an error a command threw: its own text, in an error box.
    virtual void ShowException(const QString& text) = 0;
    // A file to save to; empty when the person cancels.
    virtual QString SaveFileName(const QString& caption, const QString& suggestedName,
                                 const QString& filter) = 0;
    // A file to open, starting from the current name; empty when the person cancels.
    virtual QString OpenFileName(const QString& current, const QStringList& filters) = 0;
};

// The real boxes, modal over the given window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}
    void ErrorBox(const QString& text, const QString& detail) override;
    void ShowMessage(const QString& text) override;
    void ShowException(const QString& text) override;
    QString SaveFileName(const QString& caption, const QString& suggestedName,
                         const QString& filter) override;
    QString OpenFileName(const QString& current, const QStringList& filters) override;

  private:
    QWidget* parent_;
};

}  // namespace lcd
