// Which of the page's nodes the user changed, and their HTML, so that the
// surface can rebuild the page text around them and copy everything else
// from the author's own text.
//
// Every element that came from a start tag is loaded with data-orv-id="K"
// (data-orv-in="K" for inline elements, taken off before a formatting
// command: it turns an inline element with attributes it does not know into
// a span). The
// map from the parser's nodes to the source is kept here, not in attributes.
// An element is "settled" when its subtree in the document is exactly what
// its source text makes: the browser neither moved content in or out of it
// while parsing (init), and it is the element the parser made (not a copy an
// edit put in, which may hold anything; undo puts back the very same). A
// settled element that the user did not change is written as a keep token,
// which the surface replaces by its source text; server blocks are written
// as tokens the surface replaces by the block's text. A changed element is
// written with piece tokens for what of it did not change: its start and end
// tags, the stretches of text between its child elements ("gaps", numbered
// 2K inside element K before its first child, 2C+1 after child C), and parts
// of a changed gap's text. Tokens carry the load's marker, so that page text
// can never pass for one.
'use strict';

orv.fidelity = (() => {
    const ID = 'data-orv-id';
    const INLINE_ID = 'data-orv-in';
    const SRV = 'data-orv-srv';
    const SERVED = 'data-orv-served';  // the surface's own base and style, never the page's
    const SERVER_OPEN = '\ufdd0';
    const SERVER_CLOSE = '\ufdd1';
    const KEEP_OPEN = '\ufdd2';
    const KEEP_CLOSE = '\ufdd3';
    const PIECE_OPEN = '\ufdd4';
    const PIECE_CLOSE = '\ufdd5';
    const XHTML = 'http://www.w3.org/1999/xhtml';
    const voidElements = new Set(['area', 'base', 'basefont', 'bgsound', 'br', 'col', 'embed',
        'frame', 'hr', 'image', 'img', 'input', 'keygen', 'link', 'meta', 'param', 'source',
        'track', 'wbr']);
    const rawText = new Set(['script', 'style', 'xmp', 'iframe', 'noembed', 'noframes',
        'plaintext']);
    // Where the text of the source is not the text of the document, piece by piece.
    const wholeText = new Set([...rawText, 'textarea', 'title', 'pre', 'listing', 'template']);
    const leadingNewline = new Set(['pre', 'textarea', 'listing']);

    let marker = '';              // this load's, in every token
    let serverComment = null;     // a server block's stand-in comment: its number
    let generators = new Set();   // generator meta ids, always written through the surface
    let parents = [];             // source parent of element K (-1: none)
    let unsettled = new Set();    // ids whose document subtree differs from their source
    let ids = new Map();          // the elements the parser made from the source -> their id
    let inexact = new Set();      // settled elements holding unsettled ones: written whole
    let gapOf = new Map();        // text, comments and markers the parser made -> their gap
    let gapSize = new Int32Array(0);     // per gap: how many nodes the parser made in it
    let gapMixed = new Uint8Array(0);    // per gap: 1 when it holds more than texts and server blocks
    let afterBlock = new Map();   // a text the parser made right after a server block -> the block
    let gapQueue = [];            // elements whose gaps are still to be read (readGaps)
    let gapNext = 0;
    let firstChild = new Int32Array(0);  // source children as the parser placed them
    let nextSibling = new Int32Array(0);
    let original = new Map();     // parsed text or comments the user changed -> data as parsed
    let touched = new WeakSet();  // elements not from the source that edits reached into
    let dirty = new Set();        // source elements the user changed
    let retagged = new Set();     // source elements whose attributes the user changed
    let trailingSpace = '';       // white space the browser moved into the body's end
    let tail = null;              // the text that holds it
    let observer = null;

    const idOf = (el) => {
        const k = ids.get(el);
        return k === undefined ? -1 : k;
    };

    const settled = (el) => {
        const k = idOf(el);
        return k >= 0 && !unsettled.has(k);
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

    const ignoredAttribute = (name) => name === ID || name === SRV || name === INLINE_ID
        || name === 'contenteditable' || name === 'spellcheck';

    // The nearest source element at or above node; the others on the way
    // count as touched.
    const sourceOf = (node) => {
        for (let n = node; n; n = n.parentNode) {
            if (n.nodeType !== Node.ELEMENT_NODE)
                continue;
            if (ids.has(n))
                return n;
            touched.add(n);
        }
        return document.documentElement;
    };

    const record = (records) => {
        // A change that came before the gaps were all read (no known way in)
        // leaves its element's gaps unknown: it is written out whole.
        const early = gapNext < gapQueue.length;
        for (const r of records) {
            let changed;
            if (r.type === 'attributes') {
                if (ignoredAttribute(r.attributeName))
                    continue;
                if (ids.has(r.target))
                    retagged.add(r.target);
                changed = sourceOf(r.target);
            } else if (r.type === 'characterData') {
                if (gapOf.has(r.target) && !original.has(r.target))
                    original.set(r.target, r.oldValue);
                changed = sourceOf(r.target.parentNode);
            } else {
                changed = sourceOf(r.target);
            }
            dirty.add(changed);
            if (early)
                inexact.add(changed);
        }
        if (early)
            readGaps();
    };

    // The server block a stand-in (element or comment) stands for, else -1.
    const serverNumber = (node) => {
        if (node.nodeType === Node.ELEMENT_NODE)
            return node.hasAttribute(SRV) ? Number(node.getAttribute(SRV)) : -1;
        const m = node.nodeType === Node.COMMENT_NODE && serverComment && serverComment.exec(node.data);
        return m ? Number(m[1]) : -1;
    };

    // Reads the gaps of the queued elements as the parser made them, all of
    // them or until performance.now() passes deadline; true once all are read.
    // A big page holds a great many nodes, so this is done after the load,
    // while the page is idle, and finished before anything changes it.
    const readGaps = (deadline = Infinity) => {
        while (gapNext < gapQueue.length) {
            if ((gapNext & 63) === 0 && performance.now() > deadline)
                return false;
            const el = gapQueue[gapNext++];
            const k = ids.get(el);
            let key = 2 * k;
            let prev = -1;
            let block = -1;       // the server block just read in this gap
            let text = false;     // the node just read in this gap was a text
            for (let c = el.firstChild; c; c = c.nextSibling) {
                const ck = c.nodeType === Node.ELEMENT_NODE ? ids.get(c) : undefined;
                if (ck === undefined) {
                    gapOf.set(c, key);
                    ++gapSize[key];
                    if (c.nodeType === Node.TEXT_NODE) {
                        if (text)
                            gapMixed[key] = 1;
                        else if (block >= 0)
                            afterBlock.set(c, block);
                        text = true;
                    } else {
                        block = serverNumber(c);
                        text = false;
                        if (block < 0)
                            gapMixed[key] = 1;
                    }
                    continue;
                }
                if (prev < 0)
                    firstChild[k] = ck;
                else
                    nextSibling[prev] = ck;
                prev = ck;
                key = 2 * ck + 1;
                block = -1;
                text = false;
            }
        }
        gapQueue = [];
        gapNext = 0;
        return true;
    };

    const readGapsWhenIdle = () => {
        if (!readGaps(performance.now() + 10))
            setTimeout(readGapsWhenIdle, 0);
    };

    const flush = () => {
        if (observer)
            record(observer.takeRecords());
        readGaps();
    };

    const escapeText = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;')
        .replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;');
    const escapeAttribute = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;')
        .replace(/\u00a0/g, '&nbsp;');

    const tagName = (el) => el.namespaceURI === XHTML ? el.localName.toUpperCase() : el.tagName;
    const localOf = (el) => el.namespaceURI === XHTML ? el.localName : '';
    const piece = (out, code, ...numbers) => out.push(PIECE_OPEN, marker, code, numbers.join(','), PIECE_CLOSE);

    const writeStartTag = (el, out) => {
        out.push('<', tagName(el));
        for (const a of el.attributes) {
            if (a.name === ID || a.name === SRV || a.name === INLINE_ID)
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
    };

    // Text in the editor's spelling, without the white space the browser
    // moved in from after the body.
    const plainText = (node, out) => {
        const parent = node.parentNode;
        let data = node.data;
        if (node === tail && trailingSpace && data.endsWith(trailingSpace))
            data = data.slice(0, data.length - trailingSpace.length);
        out.push(parent && rawText.has(localOf(parent)) ? data : escapeText(data));
    };

    // A source element inside what is written: its source text when settled.
    const writeSourceElement = (el, out) => {
        const k = idOf(el);
        if (settled(el) || generators.has(k))
            out.push(KEEP_OPEN, marker, String(k), KEEP_CLOSE);
        else
            writeElement(el, out, plainText);
    };

    const writeNode = (node, out, text) => {
        switch (node.nodeType) {
        case Node.ELEMENT_NODE:
            if (node.hasAttribute(SERVED))
                break;
            if (node.hasAttribute(SRV))
                out.push(SERVER_OPEN, marker, node.getAttribute(SRV), SERVER_CLOSE);
            else if (ids.has(node))
                writeSourceElement(node, out);
            else
                writeElement(node, out, text);
            break;
        case Node.TEXT_NODE:
            text(node, out);
            break;
        case Node.COMMENT_NODE: {
            const block = serverNumber(node);
            if (block >= 0)
                out.push(SERVER_OPEN, marker, String(block), SERVER_CLOSE);
            else
                out.push('<!--', node.data, '-->');
            break;
        }
        default:
            break;
        }
    };

    // The element in the editor's style, its source children as tokens.
    const writeElement = (el, out, text) => {
        writeStartTag(el, out);
        const local = localOf(el);
        if (voidElements.has(local))
            return;
        const children = local === 'template' ? el.content.childNodes : el.childNodes;
        if (leadingNewline.has(local) && children.length && children[0].nodeType === Node.TEXT_NODE
            && children[0].data.startsWith('\n'))
            out.push('\n');
        for (const child of children)
            writeNode(child, out, text);
        out.push('</', tagName(el), '>');
    };

    const unchangedRun = (run, key) => {
        if (run.length !== gapSize[key])
            return false;
        for (const n of run) {
            if (gapOf.get(n) !== key)
                return false;
            if (n.nodeType === Node.ELEMENT_NODE ? touched.has(n)
                : original.has(n) && original.get(n) !== n.data)
                return false;
        }
        return true;
    };

    // A changed gap that the parser made of texts and server blocks. The
    // gap's content now is cut at its server stand-ins into stretches; what
    // of a stretch is still the one text the parser made in it goes as
    // pieces of that text's source, the rest in the editor's style. The
    // surface finds a text's source between the server blocks around it, so
    // a block is written only by its own stand-in. False when the gap's
    // content cannot be followed that way.
    const writeTextPieces = (run, key, out, texts) => {
        if (gapMixed[key])
            return false;
        const stretches = [];
        let stretch = null;
        const at = new Map();  // text node -> [its stretch, its offset there]
        const collect = (n) => {
            if (n.nodeType === Node.TEXT_NODE) {
                if (!stretch)
                    stretches.push(stretch = {now: '', parsed: null, many: false});
                at.set(n, [stretch, stretch.now.length]);
                stretch.now += n.data;
                if (gapOf.get(n) === key) {
                    stretch.many = stretch.many || stretch.parsed !== null;
                    stretch.parsed = n;
                }
            } else if (serverNumber(n) >= 0) {
                stretch = null;
            } else if (n.nodeType === Node.ELEMENT_NODE) {
                if (ids.has(n) || localOf(n) === 'template')
                    return false;
                for (const c of n.childNodes)
                    if (!collect(c))
                        return false;
            }
            return true;
        };
        for (const n of run)
            if (!collect(n))
                return false;
        let followed = false;
        for (const st of stretches) {
            const p = st.many ? null : st.parsed;
            if (!p)
                continue;
            followed = true;
            const before = original.has(p) ? original.get(p) : p.data;
            const now = st.now;
            let prefix = 0;
            const most = Math.min(before.length, now.length);
            while (prefix < most && before[prefix] === now[prefix])
                ++prefix;
            let suffix = 0;
            while (suffix < most - prefix
                   && before[before.length - 1 - suffix] === now[now.length - 1 - suffix])
                ++suffix;
            const block = afterBlock.has(p) ? afterBlock.get(p) : -1;
            st.pieces = {prefix, suffix, shift: before.length - now.length,
                         numbers: block < 0 ? [] : [block]};
            texts.push(block < 0 ? [key, before] : [key, before, block]);
        }
        if (!followed)
            return false;
        const text = (node, o) => {
            const [st, from] = at.get(node);
            const pc = st.pieces;
            if (!pc) {
                plainText(node, o);
                return;
            }
            const now = st.now;
            const to = from + node.data.length;
            if (from < pc.prefix)
                piece(o, 't', key, from, Math.min(to, pc.prefix), ...pc.numbers);
            const newFrom = Math.max(from, pc.prefix), newTo = Math.min(to, now.length - pc.suffix);
            if (newFrom < newTo)
                o.push(escapeText(now.slice(newFrom, newTo)));
            const oldFrom = Math.max(from, now.length - pc.suffix, pc.prefix);
            if (oldFrom < to)
                piece(o, 't', key, oldFrom + pc.shift, to + pc.shift, ...pc.numbers);
        };
        for (const n of run)
            writeNode(n, out, text);
        return true;
    };

    // The stretch between two source children prev and next of element k
    // (-1: its start or end). In an element holding unsettled ones the
    // stretches may hold what the browser moved: always written out.
    const writeRun = (el, k, prev, next, run, out, texts) => {
        const key = prev < 0 ? 2 * k : 2 * prev + 1;
        const follows = !inexact.has(el) && (prev < 0 ? firstChild[k] === next
            : parents[prev] === k && nextSibling[prev] === next);
        if (follows && unchangedRun(run, key)) {
            piece(out, 'g', key);
            return;
        }
        if (follows && !wholeText.has(localOf(el)) && writeTextPieces(run, key, out, texts))
            return;
        for (const n of run)
            writeNode(n, out, plainText);
    };

    // A settled element the user changed: what of it did not change as pieces.
    // Its tags are its own even where the browser moved content in or out.
    const writeChanged = (el, out, texts) => {
        const k = idOf(el);
        if (retagged.has(el) || generators.has(k))
            writeStartTag(el, out);
        else
            piece(out, 's', k);
        let prev = -1;
        let run = [];
        for (let c = el.firstChild; c; c = c.nextSibling) {
            const ck = c.nodeType === Node.ELEMENT_NODE ? idOf(c) : -1;
            if (ck < 0) {
                run.push(c);
                continue;
            }
            writeRun(el, k, prev, ck, run, out, texts);
            writeSourceElement(c, out);
            run = [];
            prev = ck;
        }
        writeRun(el, k, prev, -1, run, out, texts);
        piece(out, 'e', k);
    };

    // The settled element that an edit of el is written through.
    const writtenThrough = (el) => {
        for (let n = el; n; n = n.parentElement) {
            if (settled(n))
                return n;
        }
        return document.documentElement;
    };

    // Whatever the user does to the page waits until its gaps are read.
    for (const type of ['keydown', 'beforeinput', 'compositionstart', 'paste', 'cut', 'dragstart', 'drop'])
        window.addEventListener(type, () => readGaps(), true);

    return {
        // Starts watching a freshly loaded document. map: {parents, unsettled,
        // implied: {html, head, body}, generators, marker, trailingSpace} from
        // the surface's source map.
        init(map) {
            if (observer)
                observer.disconnect();
            marker = map.marker || '';
            serverComment = new RegExp('^' + SERVER_OPEN + marker + 'c(\\d+)' + SERVER_CLOSE + '$');
            generators = new Set(map.generators || []);
            parents = map.parents || [];
            unsettled = new Set(map.unsettled || []);
            trailingSpace = map.trailingSpace || '';
            dirty = new Set();
            retagged = new Set();
            original = new Map();
            touched = new WeakSet();
            ids = new Map();
            inexact = new Set();
            gapOf = new Map();
            afterBlock = new Map();
            const count = parents.length;
            const implied = map.implied || {};
            const impliedElements = {html: document.documentElement, head: document.head,
                body: document.body};
            for (const name of Object.keys(implied)) {
                const el = impliedElements[name];
                if (el && !el.hasAttribute(ID) && implied[name] < count)
                    ids.set(el, implied[name]);
            }
            // One pass in document order: each element's id is read once
            // (reading attributes is the costly part on a big page), and its
            // parent's id is found among the elements already seen.
            const seen = new Uint8Array(count + 1);
            for (const k of ids.values())
                seen[k] = 1;
            const list = document.querySelectorAll('[' + ID + '],[' + INLINE_ID + ']');
            for (let i = 0; i < list.length; ++i) {
                const el = list[i];
                let v = el.getAttribute(ID);
                const inline = v === null;
                if (inline)
                    v = el.getAttribute(INLINE_ID);
                const k = Number(v);
                const srcParent = k < count ? parents[k] : -1;
                if (!(k >= 0 && k < count) || seen[k]) {
                    // A copy the parser made of a formatting element left
                    // open: the source makes it again where it stands (the
                    // source map knows where the parser moved content).
                    if (inline)
                        continue;
                    if (k >= 0 && k < count)
                        unsettled.add(k);
                    unsettleBetween(srcParent, el.parentElement);
                    continue;
                }
                seen[k] = 1;
                ids.set(el, k);
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
            for (const [el, k] of ids) {
                if (localOf(el) === 'template')
                    inexact.add(el);
                if (unsettled.has(k) && el.parentElement)
                    inexact.add(el.parentElement);
            }
            // The gaps of the elements written piece by piece are read as
            // parsed while the page is idle (see readGaps).
            firstChild = new Int32Array(count).fill(-1);
            nextSibling = new Int32Array(count).fill(-1);
            gapSize = new Int32Array(2 * count);
            gapMixed = new Uint8Array(2 * count);
            gapQueue = [];
            gapNext = 0;
            for (const [el, k] of ids)
                if (!unsettled.has(k) && !inexact.has(el))
                    gapQueue.push(el);
            setTimeout(readGapsWhenIdle, 0);
            tail = null;
            let last = document.body;
            while (last && last.lastChild)
                last = last.lastChild;
            if (trailingSpace && last && last.nodeType === Node.TEXT_NODE && last.data.endsWith(trailingSpace))
                tail = last;
            observer = new MutationObserver(record);
            observer.observe(document, {subtree: true, childList: true, attributes: true,
                                        characterData: true, characterDataOldValue: true});
        },

        // Takes the ids off the inline elements a formatting command may
        // restyle (those around and in the selection's block): the command
        // would keep an element whose attributes it does not know as a span.
        // Done before each command, not at load, where a big page holds
        // tens of thousands of them.
        bareInline() {
            flush();
            const sel = window.getSelection();
            if (!sel || !sel.rangeCount)
                return;
            let top = sel.getRangeAt(0).commonAncestorContainer;
            if (top.nodeType !== Node.ELEMENT_NODE)
                top = top.parentElement;
            while (top && top.parentElement && (top.hasAttribute(INLINE_ID) || !ids.has(top)))
                top = top.parentElement;
            if (!top)
                return;
            for (const el of top.querySelectorAll('[' + INLINE_ID + ']'))
                el.removeAttribute(INLINE_ID);
            for (let n = top; n; n = n.parentElement)
                n.removeAttribute(INLINE_ID);
        },

        // True once the user changed anything.
        changed() {
            flush();
            return dirty.size > 0;
        },

        // [{id, html, texts: [[gap, its text as parsed], ...]}] for every
        // element the edits are written through.
        serialize() {
            flush();
            const through = new Set();
            for (const el of dirty)
                if (el.isConnected)
                    through.add(writtenThrough(el));
            const items = [];
            for (const el of through) {
                const out = [];
                const texts = [];
                if (settled(el))
                    writeChanged(el, out, texts);
                else
                    writeElement(el, out, plainText);
                items.push({id: idOf(el), html: out.join(''), texts});
            }
            return items;
        },

        // The change record, for an undo snapshot.
        state() {
            flush();
            return {dirty: [...dirty], retagged: [...retagged]};
        },

        // Puts back a change record once the snapshot's document is back;
        // the changes that put it back are not the user's.
        restore(saved) {
            if (observer)
                observer.takeRecords();
            readGaps();
            dirty = new Set(saved.dirty || []);
            retagged = new Set(saved.retagged || []);
        },
    };
})();
