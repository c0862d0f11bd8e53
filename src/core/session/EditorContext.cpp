#include "session/EditorContext.h"

namespace {
EditorContext*& CurrentContext() {
    static EditorContext* current = nullptr;
    return current;
}

EditorContext& DefaultContext() {
    static EditorContext defaultContext;
    return defaultContext;
}

CoreServices& DefaultCoreServices() {
    return Editor();
}

MapServices& DefaultMapServices() {
    return Editor();
}

DocumentServices& DefaultDocumentServices() {
    return Editor();
}

// The floors below the session see the session's default context while no other is current.
[[maybe_unused]] const bool fallbacksSet = [] {
    CoreServices::SetFallback(&DefaultCoreServices);
    MapServices::SetFallback(&DefaultMapServices);
    DocumentServices::SetFallback(&DefaultDocumentServices);
    return true;
}();
} // namespace

EditorContext::EditorContext() = default;

EditorContext::~EditorContext() = default;

EditorContext* EditorContext::MakeCurrent() {
    EditorContext* previous = CurrentContext();
    CurrentContext() = this;
    CoreServices::Install(this);
    MapServices::Install(this);
    DocumentServices::Install(this);
    return previous;
}

void EditorContext::Restore(EditorContext* previous) {
    CurrentContext() = previous;
    CoreServices::Install(previous);
    MapServices::Install(previous);
    DocumentServices::Install(previous);
}

EditorContext& Editor() {
    EditorContext* current = CurrentContext();
    return current ? *current : DefaultContext();
}

ScopedEditorContext::ScopedEditorContext()
    : m_context(std::make_unique<EditorContext>()), m_previous(m_context->MakeCurrent()) {}

ScopedEditorContext::~ScopedEditorContext() {
    // Objects that outlive the documents go while their own context is still the current one.
    m_context->DestroyParts();
    EditorContext::Restore(m_previous);
}
