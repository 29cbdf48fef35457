// Which of the page's source elements the user changed, and their HTML, so
// that the surface can rebuild the page text around them and copy everything
// else from the author's own text.
//
// Every element that came from a start tag carries data-orv-id="K". An
// element is "settled" when its subtree in the document is exactly what its
// source text makes: the browser neither moved content in or out of it while
// parsing (init), and it is the element the parser made (not a copy an edit
// put in, which may hold anything; undo puts back the very same). A settled
// element that the user did not change is written as a keep token, which the
// surface replaces by its source text; server blocks are written as tokens
// the surface replaces by the block's text. Tokens carry the load's marker,
// so that page text can never pass for one.
'use strict';

orv.fidelity = (() => {
    const ID = 'data-orv-id';
    const SRV = 'data-orv-srv';
    const SERVER_OPEN = '\ufdd0';
    const SERVER_CLOSE = '\ufdd1';
    const KEEP_OPEN = '\ufdd2';
    const KEEP_CLOSE = '\ufdd3';
    const XHTML = 'http://www.w3.org/1999/xhtml';
    const voidElements = new Set(['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed',
        'frame', 'hr', 'image', 'img', 'input', 'keygen', 'link', 'meta', 'param', 'source',
        'track', 'wbr']);
    const rawText = new Set(['script', 'style', 'xmp', 'iframe', 'noembed', 'noframes',
        'plaintext']);
    const leadingNewline = new Set(['pre', 'textarea', 'listing']);

    let marker = '';              // this load's, in every token
    let serverComment = null;     // a server block's stand-in comment: its number
    let generators = new Set();   // generator meta ids, always written through the surface
    let parents = [];             // nearest source ancestor of K that has an id (-1: none)
    let unsettled = new Set();    // ids whose document subtree differs from their source
    let dirty = new Set();        // ids of the elements the user changed
    let dirtyElements = new Set(); // the elements edits were seen in (saves a search)
    let parsed = new WeakSet();   // the elements the parser made (undo puts the same ones back)
    let impliedIds = new Map();   // implied html, head, body -> their id
    let clones = new WeakSet();   // copies the parser made of mis-nested elements
    let observer = null;

    const idOf = (el) => {
        const v = el.getAttribute(ID);
        if (v === null)
            return impliedIds.has(el) ? impliedIds.get(el) : -1;
        return clones.has(el) ? -1 : Number(v);
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

    const settled = (el) => {
        const k = idOf(el);
        return k >= 0 && !unsettled.has(k) && parsed.has(el);
    };

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
        for (let n = node; n; n = n.parentNode) {
            if (n.nodeType !== Node.ELEMENT_NODE)
                continue;
            const k = idOf(n);
            if (k >= 0) {
                dirty.add(k);
                dirtyElements.add(n);
                return;
            }
        }
        const root = document.documentElement;
        if (root && idOf(root) >= 0) {
            dirty.add(idOf(root));
            dirtyElements.add(root);
        }
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
                    out.push(SERVER_OPEN, marker, child.getAttribute(SRV), SERVER_CLOSE);
                    break;
                }
                // A generator meta is the surface's to write, wherever the parser put it.
                if (settled(child) || (generators.has(idOf(child)) && parsed.has(child)))
                    out.push(KEEP_OPEN, marker, String(idOf(child)), KEEP_CLOSE);
                else
                    serialize(child, out);
                break;
            }
            case Node.TEXT_NODE:
                out.push(raw ? child.data : escapeText(child.data));
                break;
            case Node.COMMENT_NODE: {
                const m = serverComment && serverComment.exec(child.data);
                if (m)
                    out.push(SERVER_OPEN, marker, m[1], SERVER_CLOSE);
                else
                    out.push('<!--', child.data, '-->');
                break;
            }
            default:
                break;
            }
        }
        out.push('</', tag, '>');
    };

    // The settled element that an edit of element k is written through.
    const writtenThrough = (el) => {
        for (let n = el; n; n = n.parentElement) {
            if (settled(n))
                return n;
        }
        return document.documentElement;
    };

    return {
        // Starts watching a freshly loaded document. map: {parents, unsettled,
        // implied: {html, head, body}, generators, marker} from the surface's
        // source map.
        init(map) {
            if (observer)
                observer.disconnect();
            marker = map.marker || '';
            serverComment = new RegExp('^' + SERVER_OPEN + marker + 'c(\\d+)' + SERVER_CLOSE + '$');
            generators = new Set(map.generators || []);
            parents = map.parents || [];
            unsettled = new Set(map.unsettled || []);
            dirty = new Set();
            dirtyElements = new Set();
            parsed = new WeakSet();
            const implied = map.implied || {};
            const impliedElements = {html: document.documentElement, head: document.head,
                body: document.body};
            impliedIds = new Map();
            clones = new WeakSet();
            for (const name of Object.keys(implied)) {
                const el = impliedElements[name];
                if (el && !el.hasAttribute(ID))
                    impliedIds.set(el, implied[name]);
            }
            // One pass in document order: each element's id is read once
            // (reading attributes is the costly part on a big page), and its
            // parent's id is found among the elements already seen.
            const ids = new Map(impliedIds);
            for (const el of impliedIds.keys())
                parsed.add(el);
            const seen = new Uint8Array(parents.length + 1);
            const list = document.querySelectorAll('[' + ID + ']');
            for (let i = 0; i < list.length; ++i) {
                const el = list[i];
                const k = Number(el.getAttribute(ID));
                const srcParent = k < parents.length ? parents[k] : -1;
                if (k >= parents.length || seen[k]) {
                    // A copy the parser made of a mis-nested element.
                    clones.add(el);
                    unsettled.add(k);
                    unsettleBetween(srcParent, el.parentElement);
                    continue;
                }
                seen[k] = 1;
                ids.set(el, k);
                parsed.add(el);
                let domParent = -1;
                for (let n = el.parentElement; n; n = n.parentElement) {
                    const p = ids.get(n);
                    if (p !== undefined) {
                        domParent = p;
                        break;
                    }
                }
                if (domParent !== srcParent) {
                    unsettled.add(k);
                    unsettleBetween(srcParent, el.parentElement);
                }
            }
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
            const known = new Set();
            for (const el of dirtyElements) {
                known.add(idOf(el));
                if (el.isConnected)
                    through.add(writtenThrough(el));
            }
            for (const k of dirty) {
                if (known.has(k))
                    continue;
                // Put back by undo: find the elements that carry the id.
                const found = [...document.querySelectorAll('[' + ID + '="' + k + '"]')]
                    .filter((el) => !clones.has(el));
                for (const [el, id] of impliedIds)
                    if (id === k && el.isConnected)
                        found.push(el);
                for (const el of found) {
                    dirtyElements.add(el);
                    through.add(writtenThrough(el));
                }
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
            return {dirty: [...dirty]};
        },

        // Puts back a change record once the snapshot's document is back;
        // the changes that put it back are not the user's.
        restore(saved) {
            if (observer)
                observer.takeRecords();
            dirty = new Set(saved.dirty || []);
            dirtyElements = new Set();
        },
    };
})();
