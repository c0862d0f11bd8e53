#include "app/TexturePanels.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "panels/FacePropertiesBar.h"
#include "panels/TextureBar.h"
#include "session/EditorContext.h"

#include "document/MapDoc.h"
#include "editing/EditCommands.h"

#include <QDockWidget>
#include <QPushButton>

TexturePanels InstallTexturePanels(CMainFrame& frame) {
    TexturePanels panels;
    TextureManager& textures = Editor().TextureCatalogue();
    panels.textureBar = new TextureBar(textures);
    panels.textureBar->setObjectName("TextureBar");
    panels.textureBar->AddApplyButton();
    frame.InstallDialogBar(CommandId::TextureBar, "Textures", panels.textureBar,
                           Qt::RightDockWidgetArea);
    // The bar's button and a double click in its browser do what Apply current texture does,
    // while there are objects to apply it to.
    QObject::connect(panels.textureBar, &TextureBar::applyRequested, &frame, [&frame] {
        CMapDoc* document = CMapDoc::GetActiveMapDoc();
        if (!document || !document->World() || frame.FaceEditingMode()) {
            return;
        }
        if (document->SelectedObjects().empty()) {
            document->ShowNote("Nothing is selected: select solids to put the current texture "
                               "on all their faces.",
                               true);
            return;
        }
        OnApplyCurrentTexture(*document);
        frame.UpdateCommandStates();
    });
    panels.faceBar = new FacePropertiesBar(textures);
    panels.faceBar->setObjectName("FacePropertiesBar");
    QDockWidget* faceDock = frame.InstallDialogBar(CommandId::FacePropertiesBar, "Face Properties",
                                                   panels.faceBar, Qt::RightDockWidgetArea);
    QObject::connect(faceDock, &QDockWidget::visibilityChanged, &frame,
                     [&frame, faceDock](bool visible) {
                         if (!visible && faceDock->isHidden() && frame.FaceEditingMode()) {
                             frame.SetFaceEditingMode(false);
                         }
                     });
    return panels;
}
