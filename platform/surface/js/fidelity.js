// Which of the page's source elements the user changed, and their HTML, so
// that the surface can rebuild the page text around them and copy everything
// else from the author's own text.
//
// Every element that came from a start tag carries data-orv-id="K". An
// element is "settled" when its subtree in the document is exactly what its
// source text makes: the browser neither moved content in or out of it while
// parsing (init) nor did an edit put it back as a copy (untrusted). A settled
// element that the user did not change is written as a keep token, which the
// surface replaces by its source text; server blocks are written as tokens
// the surface replaces by the block's text.
'use strict';

orv.fidelity = (() => {
    const ID = 'data-orv-id';
    const SRV = 'data-orv-srv';
    const SERVER_OPEN = '\ufdd0';
    const SERVER_CLOSE = '\ufdd1';
    const KEEP_OPEN = '\ufdd2';
    const KEEP_CLOSE = '\ufdd3';
    const XHTML = 'http://www.w3.org/1999/xhtml';
    const serverComment = /^\ufdd0\d+\ufdd1$/;
    const voidElements = new Set(['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed',
        'frame', 'hr', 'image', 'img', 'input', 'keygen', 'link', 'meta', 'param', 'source',
        'track', 'wbr']);
    const rawText = new Set(['script', 'style', 'xmp', 'iframe', 'noembed', 'noframes',
        'plaintext']);
    const leadingNewline = new Set(['pre', 'textarea', 'listing']);

    let parents = [];             // source parent of element K (-1 at the top)
    let unsettled = new Set();    // ids whose document subtree differs from their source
    let dirty = new Set();        // ids of the elements the user changed
    let untrusted = new Set();    // ids that an edit inserted as a copy (it may differ from the source)
    let originals = new Map();    // id -> the element the parser made for it
    let observer = null;

    const idOf = (el) => {
        const v = el.getAttribute(ID);
        return v === null ? -1 : Number(v);
    };

    // The id of the nearest element at or above node that has one.
    const nearestId = (node) => {
        for (let n = node; n; n = n.parentNode) {
            if (n.nodeType === Node.ELEMENT_NODE) {
                const k = idOf(n);
                if (k >= 0)
                    return k;
            }
        }
        return -1;
    };

    const settled = (k) => k >= 0 && !unsettled.has(k) && !untrusted.has(k);

    // Content whose source parent is srcParent sits under domParent (an
    // element) in the document: every element between either of them and
    // their lowest common ancestor is unsettled.
    const unsettleBetween = (srcParent, domParent) => {
        const chain = new Set();
        for (let e = srcParent; e >= 0; e = parents[e] === undefined ? -1 : parents[e])
            chain.add(e);
        let common = -1;
        for (let n = domParent; n; n = n.parentElement) {
            const k = idOf(n);
            if (k < 0)
                continue;
            if (chain.has(k)) {
                common = k;
                break;
            }
            unsettled.add(k);
        }
        for (let e = srcParent; e >= 0 && e !== common; e = parents[e] === undefined ? -1 : parents[e])
            unsettled.add(e);
    };

    const ignoredAttribute = (name) => name === ID || name === SRV || name === 'contenteditable'
        || name === 'spellcheck';

    const mark = (node) => {
        let k = nearestId(node);
        if (k < 0 && document.documentElement)
            k = idOf(document.documentElement);
        if (k >= 0)
            dirty.add(k);
    };

    // An element put back by undo is the parser's own; one with the same id
    // that is not (a pasted copy) may hold anything.
    const distrust = (node) => {
        if (node.nodeType !== Node.ELEMENT_NODE)
            return;
        const check = (el) => {
            const k = idOf(el);
            if (k >= 0 && originals.get(k) !== el)
                untrusted.add(k);
        };
        check(node);
        node.querySelectorAll('[' + ID + ']').forEach(check);
    };

    const record = (records) => {
        for (const r of records) {
            if (r.type === 'attributes') {
                if (!ignoredAttribute(r.attributeName))
                    mark(r.target);
            } else if (r.type === 'characterData') {
                mark(r.target.parentNode);
            } else {
                mark(r.target);
                r.addedNodes.forEach(distrust);
            }
        }
    };

    const flush = () => {
        if (observer)
            record(observer.takeRecords());
    };

    const escapeText = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;')
        .replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;');
    const escapeAttribute = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;')
        .replace(/\u00a0/g, '&nbsp;');

    const tagName = (el) => el.namespaceURI === XHTML ? el.localName.toUpperCase() : el.tagName;

    // The element's HTML: settled children with an id become keep tokens,
    // server markers become server tokens.
    const serialize = (el, out) => {
        const tag = tagName(el);
        out.push('<', tag);
        for (const a of el.attributes) {
            if (a.name === ID || a.name === SRV)
                continue;
            if ((el === document.body || el === document.documentElement) && ignoredAttribute(a.name))
                continue;
            // An attribute that a server block writes is given back as it stood.
            const fromServer = a.name.includes(SERVER_OPEN);
            const name = fromServer || el.namespaceURI !== XHTML ? a.name : a.name.toUpperCase();
            if (fromServer && a.value === '')
                out.push(' ', name);
            else if (fromServer && !/[\s"'<>`]/.test(a.value))
                out.push(' ', name, '=', a.value);
            else
                out.push(' ', name, '="', escapeAttribute(a.value), '"');
        }
        out.push('>');
        const local = el.namespaceURI === XHTML ? el.localName : '';
        if (voidElements.has(local))
            return;
        const children = local === 'template' ? el.content.childNodes : el.childNodes;
        if (leadingNewline.has(local) && children.length && children[0].nodeType === Node.TEXT_NODE
            && children[0].data.startsWith('\n'))
            out.push('\n');
        const raw = rawText.has(local);
        for (const child of children) {
            switch (child.nodeType) {
            case Node.ELEMENT_NODE: {
                if (child.hasAttribute(SRV)) {
                    out.push(SERVER_OPEN, child.getAttribute(SRV), SERVER_CLOSE);
                    break;
                }
                const k = idOf(child);
                if (settled(k))
                    out.push(KEEP_OPEN, String(k), KEEP_CLOSE);
                else
                    serialize(child, out);
                break;
            }
            case Node.TEXT_NODE:
                out.push(raw ? child.data : escapeText(child.data));
                break;
            case Node.COMMENT_NODE:
                if (serverComment.test(child.data))
                    out.push(child.data);
                else
                    out.push('<!--', child.data, '-->');
                break;
            default:
                break;
            }
        }
        out.push('</', tag, '>');
    };

    // The settled element that an edit of element k is written through.
    const writtenThrough = (el) => {
        for (let n = el; n; n = n.parentElement) {
            if (settled(idOf(n)))
                return n;
        }
        return document.documentElement;
    };

    const markerStyle = () => {
        try {
            const sheet = new CSSStyleSheet();
            sheet.replaceSync('span.orv-srv{display:inline-block;font:bold 9px sans-serif;'
                + 'color:#7a5200;background:#fff3c4;border:1px solid #c99a2e;border-radius:2px;'
                + 'padding:0 2px;margin:0 1px;vertical-align:middle;user-select:all}'
                + 'span.orv-srv::before{content:"ASP"}');
            document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
        } catch (e) {
            // Without the sheet the markers are empty but still kept.
        }
    };

    return {
        // Starts watching a freshly loaded document. map: {parents, unsettled,
        // implied: {html, head, body}} from the surface's source map.
        init(map) {
            if (observer)
                observer.disconnect();
            parents = map.parents || [];
            unsettled = new Set(map.unsettled || []);
            dirty = new Set();
            untrusted = new Set();
            originals = new Map();
            const implied = map.implied || {};
            const impliedElements = {html: document.documentElement, head: document.head,
                body: document.body};
            for (const name of Object.keys(implied)) {
                const el = impliedElements[name];
                if (el && !el.hasAttribute(ID))
                    el.setAttribute(ID, String(implied[name]));
            }
            const seen = new Set();
            for (const el of document.querySelectorAll('[' + ID + ']')) {
                const k = idOf(el);
                const srcParent = k < parents.length ? parents[k] : -1;
                if (seen.has(k)) {
                    // A copy the parser made of a mis-nested element.
                    el.removeAttribute(ID);
                    unsettled.add(k);
                    unsettleBetween(srcParent, el.parentElement);
                    continue;
                }
                seen.add(k);
                originals.set(k, el);
                const domParent = el.parentElement ? nearestId(el.parentElement) : -1;
                if (domParent !== srcParent) {
                    unsettled.add(k);
                    unsettleBetween(srcParent, el.parentElement);
                }
            }
            markerStyle();
            observer = new MutationObserver(record);
            observer.observe(document, {subtree: true, childList: true, attributes: true,
                                        characterData: true});
        },

        // True once the user changed anything.
        changed() {
            flush();
            return dirty.size > 0;
        },

        // [{id, html}] for every element the edits are written through.
        serialize() {
            flush();
            const through = new Set();
            for (const k of dirty) {
                const found = document.querySelectorAll('[' + ID + '="' + k + '"]');
                for (const el of found)
                    through.add(writtenThrough(el));
            }
            const items = [];
            for (const el of through) {
                if (!el)
                    continue;
                const out = [];
                serialize(el, out);
                items.push({id: idOf(el), html: out.join('')});
            }
            return items;
        },

        // The change record, for an undo snapshot.
        state() {
            flush();
            return {dirty: [...dirty], untrusted: [...untrusted]};
        },

        // Puts back a change record once the snapshot's document is back;
        // the changes that put it back are not the user's.
        restore(saved) {
            if (observer)
                observer.takeRecords();
            dirty = new Set(saved.dirty || []);
            untrusted = new Set(saved.untrusted || []);
        },
    };
})();
