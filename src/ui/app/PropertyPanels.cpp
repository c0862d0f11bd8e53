#include "app/PropertyPanels.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "panels/FilterControlBar.h"
#include "panels/ObjectPropertiesSheet.h"
#include "panels/OptionsSheet.h"
#include "session/EditorContext.h"

#include <QAction>

void InstallPropertyPanels(CMainFrame& frame) {
    auto* sheet = new ObjectPropertiesSheet(&frame);
    frame.SetObjectPropertiesWindow(sheet);

    auto* filter = new FilterControlBar;
    frame.InstallDialogBar(CommandId::FilterControlBar, "Filter Control", filter,
                           Qt::RightDockWidgetArea);
    QObject::connect(&frame, &CMainFrame::activeDocumentChanged, filter, &FilterControlBar::Refill);

    if (QAction* command = frame.Action(CommandId::OptionsSheet)) {
        command->setEnabled(true);
        command->setProperty("provided", true);
        QObject::connect(command, &QAction::triggered, &frame, [&frame] {
            OptionsSheet options(Editor().options, &frame);
            options.exec();
        });
    }
}
