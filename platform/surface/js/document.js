// The document's state: edited since loaded, dirty since saved. Writing an
// edited document back is the fidelity layer's (fidelity.js).
'use strict';

orv.doc = {
    edited: false,
    dirty: false,

    touch() {
        orv.doc.edited = true;
        orv.doc.dirty = true;
    },
    isEdited() { return orv.doc.edited; },
    isDirty() { return orv.doc.dirty; },
    markSaved() { orv.doc.dirty = false; },

    // Design mode: the user edits the whole document; every change the user
    // makes is seen here.
    beginEditing() {
        document.designMode = 'on';
        orv.selection.focus();
        new MutationObserver(() => {
            orv.doc.touch();
            orv.displayChanged();
        }).observe(document, {subtree: true, childList: true, attributes: true,
                              characterData: true});
    },
};
