// The document's state (edited since loaded, dirty since saved) and its
// serialisation after an edit.
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

    // The whole document as HTML: doctype, head and body, upper-case tag and
    // attribute names, and exactly one generator meta element in the head.
    // options.lineBreak replaces every line feed of the document's text.
    serialize(options) {
        const lineBreak = (options && options.lineBreak) || '\n';
        const generator = '<META NAME="GENERATOR" Content="Microsoft DHTML Editing Control">';
        const voidElements = new Set(['AREA', 'BASE', 'BASEFONT', 'BGSOUND', 'BR', 'COL',
            'EMBED', 'FRAME', 'HR', 'IMG', 'INPUT', 'KEYGEN', 'LINK', 'META', 'PARAM',
            'SOURCE', 'TRACK', 'WBR']);
        const rawText = new Set(['SCRIPT', 'STYLE', 'XMP', 'IFRAME', 'NOEMBED', 'NOFRAMES',
            'PLAINTEXT']);
        const out = [];
        const lines = (s) => s.replace(/\r\n|\r|\n/g, lineBreak);
        const escapeText = (s) => lines(s.replace(/&/g, '&amp;').replace(/</g, '&lt;')
            .replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;'));
        const escapeAttr = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;')
            .replace(/\u00a0/g, '&nbsp;');
        const isGenerator = (n) => n.nodeType === Node.ELEMENT_NODE && n.tagName === 'META'
            && (n.getAttribute('name') || '').toLowerCase() === 'generator';
        let generatorWritten = false;

        const write = (node) => {
            switch (node.nodeType) {
            case Node.ELEMENT_NODE: {
                if (isGenerator(node)) {
                    if (!generatorWritten)
                        out.push(generator);
                    generatorWritten = true;
                    return;
                }
                const tag = node.tagName.toUpperCase();
                out.push('<', tag);
                for (const a of node.attributes)
                    out.push(' ', a.name.toUpperCase(), '="', escapeAttr(a.value), '"');
                out.push('>');
                if (tag === 'HEAD' && !node.querySelector('meta[name="generator" i]')) {
                    out.push(generator);
                    generatorWritten = true;
                }
                if (voidElements.has(tag))
                    return;
                const children = tag === 'TEMPLATE' ? node.content.childNodes : node.childNodes;
                if (rawText.has(tag))
                    out.push(lines(node.textContent));
                else
                    children.forEach(write);
                out.push('</', tag, '>');
                return;
            }
            case Node.TEXT_NODE:
                out.push(escapeText(node.data));
                return;
            case Node.COMMENT_NODE:
                out.push('<!--', lines(node.data), '-->');
                return;
            case Node.DOCUMENT_TYPE_NODE: {
                out.push('<!DOCTYPE ', node.name.toUpperCase());
                if (node.publicId)
                    out.push(' PUBLIC "', node.publicId, '"');
                if (node.systemId)
                    out.push(node.publicId ? ' "' : ' SYSTEM "', node.systemId, '"');
                out.push('>', lineBreak);
                return;
            }
            default:
                return;
            }
        };
        document.childNodes.forEach(write);
        return out.join('');
    },
};
