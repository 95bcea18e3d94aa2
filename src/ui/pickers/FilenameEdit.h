// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class BrowseButton;

// A one-line field for a file name with a browse button inside its right edge. The button
// (or Alt+Down) opens an open-file dialog; its folder and proposed name carry over from
// one browse to the next for the field's life. The text is free: it is shown and given
// back exactly, double quotes included.
class FilenameEdit : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FilenameEdit)

public:
    // Shows the open-file dialog and gives the chosen file's full path, or nothing when the
    // user cancels. Tests put their own in place of the real dialog.
    using FileChooser = std::function<std::optional<QString>(
        const QString &initialDir, const QString &proposedName, const QStringList &nameFilters)>;

    explicit FilenameEdit(QWidget *parent = nullptr);
    ~FilenameEdit() override;

    // Pairs of display name and pattern, "desc|pattern|desc|pattern"; the first is preselected.
    void setFilter(const QString &filter);
    QString filter() const { return m_filter; }

    // The folder the dialog opens in next; empty leaves the choice to the platform.
    void setInitialDir(const QString &dir);
    QString initialDir() const { return m_initialDir; }

    // The name the dialog proposes next: the last one prepared or chosen.
    QString dialogFileName() const { return m_fileName; }

    static QString dialogTitle();

    void setFileChooser(FileChooser chooser);

    BrowseButton *browseButton() const { return m_button; }

public Q_SLOTS:
    // Does nothing while the field is disabled or read-only.
    void browse();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // How long browsing waits for the typed path and the remembered folder to be looked up:
    // a local disk answers in far less, and the dialog opens at once all the same.
    static constexpr std::chrono::milliseconds pathLookupBound{500};

    std::optional<QString> runFileDialog(const QString &initialDir, const QString &proposedName,
                                         const QStringList &nameFilters);
    void placeButton();

    BrowseButton *const m_button;
    QString m_filter;
    QString m_initialDir;
    QString m_fileName;
    FileChooser m_chooser;
};
