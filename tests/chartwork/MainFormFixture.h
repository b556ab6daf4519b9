#pragma once
// A ready workspace for main window tests: a program folder with the index file and a
// Scanner folder, settings kept in the test's own folder, and scripted dialogs.

#include "core/Workspace.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <memory>

class TMainForm;

class MainFormFixture : public ::testing::Test {
protected:
    MainFormFixture();
    ~MainFormFixture() override;

    // Creates, runs the creation steps and shows the main window; fails the test on a stop.
    std::unique_ptr<TMainForm> startForm();
    // The settings file of this test.
    QString settingsFile() const;
    // Writes a settings file holding the key and the given value lines.
    void writeSettings(const QByteArray& valueLines);

    TempDir temp;
    Workspace workspace;
    ScriptedDialogs dialogs;

private:
    QByteArray oldConfigHome_;
};
