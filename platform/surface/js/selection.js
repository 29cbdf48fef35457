// The selection, the paste route and the page colours.
'use strict';

orv.selection = {
    // Elements that are selected as a whole ("Control") rather than as text.
    controls: new Set(['IMG', 'TABLE', 'INPUT', 'SELECT', 'TEXTAREA', 'BUTTON', 'HR',
        'OBJECT', 'EMBED', 'IFRAME', 'APPLET', 'MARQUEE']),

    // The selection's range inside the body; a caret at the start of the
    // body when the page has no selection yet.
    range() {
        const sel = document.getSelection();
        if (sel.rangeCount) {
            const r = sel.getRangeAt(0);
            if (document.body && document.body.contains(r.commonAncestorContainer))
                return r;
        }
        const r = document.createRange();
        r.setStart(document.body, 0);
        r.collapse(true);
        return r;
    },

    selectedElement(r) {
        if (r.startContainer !== r.endContainer || r.endOffset - r.startOffset !== 1)
            return null;
        const node = r.startContainer.childNodes[r.startOffset];
        return node && node.nodeType === Node.ELEMENT_NODE ? node : null;
    },

    type() {
        const sel = document.getSelection();
        if (!sel.rangeCount)
            return 'None';
        const r = sel.getRangeAt(0);
        const element = orv.selection.selectedElement(r);
        if (element && (orv.selection.controls.has(element.tagName)
                        || getComputedStyle(element).position === 'absolute'))
            return 'Control';
        return r.collapsed ? 'None' : 'Text';
    },

    text() {
        const sel = document.getSelection();
        return sel.rangeCount ? sel.getRangeAt(0).toString() : '';
    },

    // Gives the document the keyboard focus, keeping its selection.
    focus() {
        if (!document.body)
            return;
        const sel = document.getSelection();
        const kept = sel.rangeCount ? sel.getRangeAt(0).cloneRange() : null;
        document.body.focus();
        if (kept) {
            sel.removeAllRanges();
            sel.addRange(kept);
        }
    },

    // The fragment replaces the range's contents; the caret ends up after it.
    replace(r, fragment) {
        r.deleteContents();
        const last = fragment.lastChild;
        r.insertNode(fragment);
        if (last) {
            r.setStartAfter(last);
            r.collapse(true);
        }
        const sel = document.getSelection();
        sel.removeAllRanges();
        sel.addRange(r);
    },

    pasteHTML(html) {
        const r = orv.selection.range();
        const own = orv.fidelity.adopted(html);
        orv.change('Paste', () => orv.selection.replace(r, r.createContextualFragment(own)));
    },
};

orv.page = {
    // name is one of bgcolor, link, vlink, alink: attributes of the BODY.
    color(name) {
        return document.body ? document.body.getAttribute(name) || '' : '';
    },
    setColor(name, value) {
        if (!document.body)
            throw new Error('the document has no body');
        orv.change('Page colour', () => document.body.setAttribute(name, value));
    },
};
