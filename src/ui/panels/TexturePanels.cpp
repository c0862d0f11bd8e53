#include "panels/TexturePanels.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "common/EditorContext.h"
#include "panels/FacePropertiesBar.h"
#include "panels/TextureBar.h"

#include <QDockWidget>

TexturePanels InstallTexturePanels(CMainFrame& frame) {
    TexturePanels panels;
    TextureManager& textures = Editor().TextureCatalogue();
    panels.textureBar = new TextureBar(textures);
    panels.textureBar->setObjectName("TextureBar");
    frame.InstallDialogBar(CommandId::TextureBar, "Textures", panels.textureBar,
                           Qt::RightDockWidgetArea);
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
