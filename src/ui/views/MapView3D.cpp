#include "views/MapView3D.h"

#include "document/MapDoc.h"
#include "document/UpdateHint.h"

#include <QOpenGLFunctions>

CMapView3D::CMapView3D(CMapDoc& document, QWidget* parent)
    : QOpenGLWidget(parent), m_document(document) {
    m_document.AddView(this);
}

CMapView3D::~CMapView3D() { m_document.RemoveView(this); }

void CMapView3D::SetRenderMode(int mode) {
    if (mode >= Wireframe && mode <= Textured && mode != m_renderMode) {
        m_renderMode = mode;
        update();
    }
}

void CMapView3D::OnDocumentUpdate(int flags, const CUpdateHint*) {
    if (flags & UPDATE_2D_ONLY) {
        return;
    }
    update();
}

void CMapView3D::initializeGL() {}

void CMapView3D::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
}
