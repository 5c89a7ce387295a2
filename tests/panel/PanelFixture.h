#pragma once

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "FakeDialogs.h"
#include "NoPortSystemCalls.h"
#include "panel/Unit1.h"

namespace lcd::testing {

// A window on a machine without a port, whose boxes are answered at once and kept in `shown`.
struct PanelFixture {
    PanelFixture() {
        auto fake = std::make_unique<FakeDialogs>(shown);
        dialogs = fake.get();
        form = std::make_unique<TForm1>(std::move(fake), &noPort);
    }

    template <typename Widget>
    Widget* Find(const char* name) const {
        return form->findChild<Widget*>(name);
    }

    void SetDelay(const QString& text) const { Find<QLineEdit>("Edit1")->setText(text); }

    // Clicks a button and waits for the command it starts to end; false if it did not end in time.
    bool ClickAndWait(const char* button, int timeoutMs = 60000) const {
        QSignalSpy ended(form.get(), &TForm1::CommandEnded);
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
        return !form->Runner().IsRunning() || ended.count() > 0 || ended.wait(timeoutMs);
    }

    NoPortSystemCalls noPort;
    QList<FakeDialogs::Shown> shown;
    FakeDialogs* dialogs = nullptr;
    std::unique_ptr<TForm1> form;
};

}  // namespace lcd::testing
