#pragma once

// Something a floor above the document keeps per document (the tools of its 2D views): made
// when first asked for and destroyed with the document.
class DocumentPart {
public:
    virtual ~DocumentPart() = default;
};
