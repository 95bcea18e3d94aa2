// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParamCommand.h"

#include "Command.h"
#include "WindowFocus.h"

namespace ParamCommand {

namespace {

// Enables the command again however the dialog ended.
class Reenable
{
public:
    explicit Reenable(Command &command)
        : m_command(command)
    {
        m_command.setEnabled(false);
    }
    ~Reenable() { m_command.setEnabled(true); }
    Reenable(const Reenable &) = delete;
    Reenable &operator=(const Reenable &) = delete;

private:
    Command &m_command;
};

} // namespace

void run(Command &acParam, Command &acReadparam, const CreateDialog &createDialog)
{
    WindowFocus::ReturnAfterModal focusBack;
    {
        const Reenable reenable(acParam);
        const std::unique_ptr<QDialog> dialog = createDialog();
        if (dialog) {
            focusBack.setOwner(dialog->parentWidget());
            dialog->exec();
        }
    } // destroys the dialog, then enables acParam
    acReadparam.execute();
}

} // namespace ParamCommand
