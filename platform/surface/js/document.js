// The document's edits since it was loaded: the surface's change record reads
// their count. Writing an edited document back is the fidelity layer's
// (fidelity.js).
'use strict';

orv.doc = {
    edits: 0,

    touch() { orv.doc.edits++; },
    isEdited() { return orv.doc.edits > 0; },
    editCount() { return orv.doc.edits; },

    // Sets a freshly loaded document up for editing: the map that leads its
    // elements back to the text (fidelity.init), then design mode, in which
    // the user edits the whole document; every change the user makes is seen
    // here.
    open(map) {
        orv.fidelity.init(map);
        document.designMode = 'on';
        orv.selection.focus();
        new MutationObserver(() => {
            orv.doc.touch();
            orv.displayChanged();
        }).observe(document, {subtree: true, childList: true, attributes: true,
                              characterData: true});
    },
};
