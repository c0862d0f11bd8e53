#pragma once

#include "document/MapDocView.h"

#include <QOpenGLWidget>

class CMapDoc;

// The perspective view of a document (the top-left pane of a child frame).
class CMapView3D : public QOpenGLWidget, public MapDocView {
    Q_OBJECT
public:
    enum RenderMode { Wireframe = 1, Flat = 2, Textured = 3 };

    CMapView3D(CMapDoc& document, QWidget* parent = nullptr);
    ~CMapView3D() override;

    CMapDoc& Document() const { return m_document; }
    void SetRenderMode(int mode);
    int GetRenderMode() const { return m_renderMode; }

    void OnDocumentUpdate(int flags, const CUpdateHint* hint) override;
    bool Is3D() const override { return true; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    CMapDoc& m_document;
    int m_renderMode = Textured;
};
