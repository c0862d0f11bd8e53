#pragma once

#include "document/DocumentServices.h"

#include <memory>

// The editor's process-wide services, assembled at the top of the core: the document services
// with the map and core services they extend. Making a context current installs it for every
// floor below, so each test can start from a fresh set. The shell reaches the current one
// through Editor().
class EditorContext : public DocumentServices {
public:
    EditorContext();
    ~EditorContext() override;

    // Makes this context the current one and returns the one before.
    EditorContext* MakeCurrent();
    static void Restore(EditorContext* previous);
};

// The current editor context (a process-wide default unless a test installed its own).
EditorContext& Editor();

// Installs a fresh context for the lifetime of this object and restores the previous one.
class ScopedEditorContext {
public:
    ScopedEditorContext();
    ~ScopedEditorContext();
    ScopedEditorContext(const ScopedEditorContext&) = delete;
    ScopedEditorContext& operator=(const ScopedEditorContext&) = delete;
    EditorContext& Context() { return *m_context; }

private:
    std::unique_ptr<EditorContext> m_context;
    EditorContext* m_previous;
};
