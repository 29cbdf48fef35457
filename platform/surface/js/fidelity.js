// Which of the page's nodes the user changed, and their HTML, so that the
// surface can rebuild the page text around them and copy everything else
// from the author's own text.
//
// Every element that came from a start tag is loaded with orv=K (orv=Ki for
// inline elements, taken off before a formatting command: it turns an
// inline element with attributes it does not know into a span). The map
// from the parser's nodes to the source is kept here, not in attributes.
// An element is "settled" when its subtree in the document is exactly what
// its source text makes: the browser neither moved content in or out of it
// while parsing (init), and it is the element the parser made (not a copy an
// edit put in, which may hold anything; undo puts back the very same). A
// settled element that the user did not change is written as a keep token,
// which the surface replaces by its source text; server blocks are written
// as tokens the surface replaces by the block's text. A changed element is
// written with piece tokens for what of it did not change: its start and end
// tags, the stretches of source between its child elements ("gaps", numbered
// 2K inside element K before its first child, 2C+1 after child C), and of a
// changed gap its comments, parts of its texts and what of its source makes
// no text. Tokens carry the load's marker, so that page text can never pass
// for one, nor markup pasted from elsewhere for a server block's stand-in.
'use strict';

orv.fidelity = (() => {
    const ID = 'orv';
    const INLINE = 'i';           // ends an inline element's id
    const INLINE_IDS = '[' + ID + '$=' + INLINE + ']';
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
    let serverElement = null;     // a server block's stand-in element's SRV value: its number
    let generators = new Set();   // generator meta ids, always written through the surface
    let parents = [];             // source parent of element K (-1: none)
    let unsettled = new Set();    // ids whose document subtree differs from their source
    let ids = new Map();          // the elements the parser made from the source -> their id
    let inexact = new Set();      // settled elements holding unsettled ones: written whole
    let gapOf = new Map();        // text, comments and markers the parser made -> their gap
    let gapSize = new Int32Array(0);     // per gap: how many nodes the parser made in it
    let gapMixed = new Uint8Array(0);    // per gap: 1 when it holds more than texts, comments and server blocks
    // The comments and server stand-ins the parser made in a gap are its
    // places, numbered in order; a text follows one or the gap's start.
    let gapPlaces = new Int32Array(0);   // per gap: how many places
    let placeOf = new Map();      // a comment or stand-in the parser made -> its place
    let afterPlace = new Map();   // a text the parser made after a place -> the place
    let adopting = null;          // nodes a paste or drop by the browser added, until its input event
    // The map is read while the page is idle after the load (readMap): first
    // the ids, in document order, then the gaps of the settled elements.
    let elementOf = null;         // id -> its element, while the ids are read
    let inOrder = [];             // the ids read, in document order
    let idList = null;            // the elements carrying ids, once listed
    let idNext = 0;
    let gapQueue = [];            // elements whose gaps are still to be read
    let gapNext = 0;
    let firstChild = new Int32Array(0);  // source children as the parser placed them
    let nextSibling = new Int32Array(0);
    let original = new Map();     // parsed text or comments the user changed -> data as parsed
    let lost = new Map();         // gap -> the texts the parser made there that edits took out
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

    const ignoredAttribute = (name) => orv.ownAttribute(name)
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

    const mapRead = () => elementOf === null && gapNext === gapQueue.length;

    const record = (records) => {
        // A change that came before the map was all read (no known way in)
        // leaves its element's gaps unknown: it is written out whole. Its
        // ids are read as the page now stands.
        const early = !mapRead();
        if (elementOf)
            readIds();
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
                // One by one: a paste can add more nodes than a call takes arguments.
                for (const n of adopting ? r.addedNodes : [])
                    adopting.push(n);
                for (const n of r.removedNodes) {
                    const key = n.nodeType === Node.TEXT_NODE ? gapOf.get(n) : undefined;
                    if (key !== undefined)
                        (lost.get(key) || lost.set(key, new Set()).get(key)).add(n);
                }
            }
            dirty.add(changed);
            if (early)
                inexact.add(changed);
        }
        if (early)
            readMap();
    };

    // The server block a stand-in of this load (element or comment) stands
    // for, else -1.
    const serverNumber = (node) => {
        let m = null;
        if (node.nodeType === Node.ELEMENT_NODE)
            m = serverElement && node.hasAttribute(SRV) && serverElement.exec(node.getAttribute(SRV));
        else if (node.nodeType === Node.COMMENT_NODE)
            m = serverComment && serverComment.exec(node.data);
        return m ? Number(m[1]) : -1;
    };

    const take = (el, k) => {
        ids.set(el, k);
        elementOf[k] = el;
        inOrder.push(k);
    };

    // Reads the elements' ids, in document order, all of them or until
    // performance.now() passes deadline; true once all are read. One
    // attribute read per element (reading attributes is the costly part on a
    // big page); an element's parent is checked against its source parent's
    // element, which comes before it. Once all are read, the gaps of the
    // elements written piece by piece are queued to be read as parsed.
    const readIds = (deadline = Infinity) => {
        const count = parents.length;
        if (idList === null)
            idList = document.querySelectorAll('[' + ID + ']');
        while (idNext < idList.length) {
            if ((idNext & 255) === 0 && performance.now() > deadline)
                return false;
            const el = idList[idNext++];
            const v = el.getAttribute(ID);
            const k = parseInt(v, 10);
            const srcParent = k < count ? parents[k] : -1;
            if (!(k >= 0 && k < count) || elementOf[k] !== undefined) {
                // A copy the parser made of a formatting element left
                // open: the source makes it again where it stands (the
                // source map knows where the parser moved content).
                if (v.endsWith(INLINE))
                    continue;
                if (k >= 0 && k < count)
                    unsettled.add(k);
                unsettleBetween(srcParent, el.parentElement);
                continue;
            }
            take(el, k);
            const parent = el.parentElement;
            if (parent !== null && srcParent >= 0 && parent === elementOf[srcParent])
                continue;
            let domParent = -1;
            for (let n = parent; n; n = n.parentElement) {
                const p = ids.get(n);
                if (p !== undefined) {
                    domParent = p;
                    break;
                }
            }
            if (domParent !== srcParent) {
                unsettled.add(k);
                unsettleBetween(srcParent, parent);
            }
        }
        for (const el of document.querySelectorAll('template'))
            if (ids.has(el) && localOf(el) === 'template')
                inexact.add(el);
        for (const k of unsettled) {
            const el = elementOf[k];
            if (el !== undefined && el.parentElement)
                inexact.add(el.parentElement);
        }
        for (const k of inOrder)
            if (!unsettled.has(k) && !inexact.has(elementOf[k]))
                gapQueue.push(elementOf[k]);
        idList = null;
        elementOf = null;
        inOrder = [];
        return true;
    };

    // Reads the map (the ids, then the gaps of the queued elements as the
    // parser made them), all of it or until performance.now() passes
    // deadline; true once all is read. A big page holds a great many nodes,
    // so this is done after the load, while the page is idle, and finished
    // before anything changes it.
    const readMap = (deadline = Infinity) => {
        if (elementOf && !readIds(deadline))
            return false;
        while (gapNext < gapQueue.length) {
            if ((gapNext & 63) === 0 && performance.now() > deadline)
                return false;
            const el = gapQueue[gapNext++];
            const k = ids.get(el);
            let key = 2 * k;
            let prev = -1;
            let text = false;     // the node just read in this gap was a text
            for (let c = el.firstChild; c; c = c.nextSibling) {
                const ck = c.nodeType === Node.ELEMENT_NODE ? ids.get(c) : undefined;
                if (ck === undefined) {
                    gapOf.set(c, key);
                    ++gapSize[key];
                    if (c.nodeType === Node.TEXT_NODE) {
                        if (text)
                            gapMixed[key] = 1;
                        else if (gapPlaces[key] > 0)
                            afterPlace.set(c, gapPlaces[key] - 1);
                        text = true;
                    } else {
                        text = false;
                        if (c.nodeType === Node.COMMENT_NODE || serverNumber(c) >= 0)
                            placeOf.set(c, gapPlaces[key]++);
                        else
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
                text = false;
            }
        }
        gapQueue = [];
        gapNext = 0;
        return true;
    };

    // In the idle periods the browser offers, 50 ms at most each (listing a
    // big page's elements at the start takes longer, once). Page scripts are
    // off on the design surface, and timers with them; idle callbacks still
    // come.
    const readMapWhenIdle = (idle) => {
        if (!readMap(performance.now() + idle.timeRemaining()))
            requestIdleCallback(readMapWhenIdle);
    };

    const flush = () => {
        if (observer)
            record(observer.takeRecords());
        readMap();
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
            if (orv.ownAttribute(a.name))
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
            writeElement(el, out, plainLeaf);
    };

    // A text, comment or server stand-in in the editor's style.
    const plainLeaf = (node, out) => {
        const block = serverNumber(node);
        if (block >= 0)
            out.push(SERVER_OPEN, marker, String(block), SERVER_CLOSE);
        else if (node.nodeType === Node.TEXT_NODE)
            plainText(node, out);
        else if (node.nodeType === Node.COMMENT_NODE)
            out.push('<!--', node.data, '-->');
    };

    // leaf writes the texts, comments and server stand-ins.
    const writeNode = (node, out, leaf) => {
        if (node.nodeType !== Node.ELEMENT_NODE || serverNumber(node) >= 0)
            leaf(node, out);
        else if (node.hasAttribute(SERVED))
            return;
        else if (ids.has(node))
            writeSourceElement(node, out);
        else
            writeElement(node, out, leaf);
    };

    // The element in the editor's style, its source children as tokens.
    const writeElement = (el, out, leaf) => {
        writeStartTag(el, out);
        const local = localOf(el);
        if (voidElements.has(local))
            return;
        const children = local === 'template' ? el.content.childNodes : el.childNodes;
        if (leadingNewline.has(local) && children.length && children[0].nodeType === Node.TEXT_NODE
            && children[0].data.startsWith('\n'))
            out.push('\n');
        for (const child of children)
            writeNode(child, out, leaf);
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

    // A changed gap that the parser made of texts, comments and server
    // blocks. Its content now is cut at comments and server stand-ins into
    // stretches; what of a stretch is still text the parser made in the gap
    // goes as pieces of those texts' source, the rest in the editor's style.
    // The comments the parser made go as their source, and what of a
    // stretch's source makes no text (stray tags, NULs) stays at its place
    // unless some of the stretch's text is written from the source, which
    // carries it. The surface finds each text's source between the places
    // around it, so a block is written only by its own stand-in. False when
    // the gap's content cannot be followed that way.
    const writeGapPieces = (run, key, out, changes) => {
        if (gapMixed[key])
            return false;
        const stretches = [];
        let stretch = null;
        let after = -1;        // the place the next stretch follows, when known
        const at = new Map();  // text node -> [its stretch, its offset there]
        const collect = (n) => {
            if (n.nodeType === Node.TEXT_NODE) {
                if (!stretch)
                    stretches.push(stretch = {now: '', parsed: [], after});
                at.set(n, [stretch, stretch.now.length]);
                stretch.now += n.data;
                if (gapOf.get(n) === key)
                    stretch.parsed.push(n);
            } else if (n.nodeType === Node.COMMENT_NODE || serverNumber(n) >= 0) {
                stretch = null;
                after = gapOf.get(n) === key ? placeOf.get(n) : undefined;
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
        // A text the browser replaced by another (as it does around a deleted
        // stand-in) is still its stretch's text as parsed.
        const gone = new Map();
        for (const n of lost.get(key) || [])
            if (!n.isConnected)
                gone.set(afterPlace.has(n) ? afterPlace.get(n) : -1, n);
        const fromSource = new Set();  // places whose stretch has text written from its source
        for (const st of stretches) {
            if (gone.has(st.after)) {
                st.parsed.unshift(gone.get(st.after));
                gone.delete(st.after);
            }
            if (!st.parsed.length)
                continue;
            // The parsed texts one after the other (a block between them
            // may be gone) against the stretch now.
            let before = '';
            st.parts = [];
            for (const p of st.parsed) {
                const data = original.has(p) ? original.get(p) : p.data;
                const place = afterPlace.has(p) ? afterPlace.get(p) : -1;
                st.parts.push({from: before.length, to: before.length + data.length, place});
                before += data;
                changes.texts.push(place < 0 ? [key, data] : [key, data, place]);
            }
            const now = st.now;
            let prefix = 0;
            const most = Math.min(before.length, now.length);
            while (prefix < most && before[prefix] === now[prefix])
                ++prefix;
            let suffix = 0;
            while (suffix < most - prefix
                   && before[before.length - 1 - suffix] === now[now.length - 1 - suffix])
                ++suffix;
            st.pieces = {prefix, suffix, shift: before.length - now.length};
            for (const part of st.parts)
                if (part.from < part.to && (part.from < prefix || part.to > before.length - suffix))
                    fromSource.add(part.place);
        }
        // Characters a..b of a stretch's texts as parsed.
        const parsedPieces = (o, st, a, b) => {
            for (const part of st.parts) {
                const from = Math.max(a, part.from), to = Math.min(b, part.to);
                if (from < to)
                    piece(o, 't', key, from - part.from, to - part.from, ...(part.place < 0 ? [] : [part.place]));
            }
        };
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
                parsedPieces(o, st, from, Math.min(to, pc.prefix));
            const newFrom = Math.max(from, pc.prefix), newTo = Math.min(to, now.length - pc.suffix);
            if (newFrom < newTo)
                o.push(escapeText(now.slice(newFrom, newTo)));
            const oldFrom = Math.max(from, now.length - pc.suffix, pc.prefix);
            if (oldFrom < to)
                parsedPieces(o, st, oldFrom + pc.shift, to + pc.shift);
        };
        let next = -1;  // the first place whose stretch's untexted source is still to come
        const noText = (o, upTo) => {
            for (; next <= upTo; ++next)
                if (!fromSource.has(next))
                    piece(o, 'n', key, ...(next < 0 ? [] : [next]));
        };
        const leaf = (node, o) => {
            if (node.nodeType === Node.TEXT_NODE) {
                text(node, o);
                return;
            }
            const place = gapOf.get(node) === key ? placeOf.get(node) : undefined;
            if (place === undefined || place < next) {
                plainLeaf(node, o);
                return;
            }
            noText(o, place - 1);  // of places whose comment or block is gone
            if (serverNumber(node) < 0 && !(original.has(node) && original.get(node) !== node.data)) {
                piece(o, 'c', key, place);
                plainLeaf(node, o);
                piece(o, 'C', key, place);
            } else {
                plainLeaf(node, o);
            }
            noText(o, place);
        };
        noText(out, -1);
        for (const n of run)
            writeNode(n, out, leaf);
        noText(out, gapPlaces[key] - 1);
        changes.gaps.push([key, gapPlaces[key]]);
        return true;
    };

    // The stretch between two source children prev and next of element k
    // (-1: its start or end). In an element holding unsettled ones the
    // stretches may hold what the browser moved: always written out.
    const writeRun = (el, k, prev, next, run, out, changes) => {
        const key = prev < 0 ? 2 * k : 2 * prev + 1;
        const follows = !inexact.has(el) && (prev < 0 ? firstChild[k] === next
            : parents[prev] === k && nextSibling[prev] === next);
        if (follows && unchangedRun(run, key)) {
            piece(out, 'g', key);
            return;
        }
        if (follows && !wholeText.has(localOf(el)) && writeGapPieces(run, key, out, changes))
            return;
        for (const n of run)
            writeNode(n, out, plainLeaf);
    };

    // A settled element the user changed: what of it did not change as pieces.
    // Its tags are its own even where the browser moved content in or out.
    const writeChanged = (el, out, changes) => {
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
            writeRun(el, k, prev, ck, run, out, changes);
            writeSourceElement(c, out);
            run = [];
            prev = ck;
        }
        writeRun(el, k, prev, -1, run, out, changes);
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

    // Whatever the user does to the page waits until its map is read (a
    // beforeinput flushes, below).
    for (const type of ['keydown', 'compositionstart', 'paste', 'cut', 'dragstart', 'drop'])
        window.addEventListener(type, () => readMap(), true);

    // Markup pasted or dropped into the page is never taken for the page's
    // own: element ids and the surface's marks come off it, and server
    // stand-ins that are not this load's (from another page, or from before
    // the page was loaded again) go, as no block of this page is theirs. This
    // load's stand-ins stay, so that a block copied or moved within the page
    // goes with its copy, as its text would.
    const foreignComment = new RegExp('^' + SERVER_OPEN + '[a-z]+c\\d+' + SERVER_CLOSE + '$');
    const adopt = (root) => {
        const gone = [];
        const walker = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_COMMENT);
        for (let n = walker.currentNode; n; n = walker.nextNode()) {
            if (n.nodeType === Node.COMMENT_NODE) {
                if (foreignComment.test(n.data) && serverNumber(n) < 0)
                    gone.push(n);
            } else if (n.nodeType === Node.ELEMENT_NODE) {
                if (n.hasAttribute(SRV) && serverNumber(n) < 0)
                    gone.push(n);
                else if (n.hasAttribute(SRV))
                    n.setAttribute('contenteditable', 'false');  // see forClipboard
                for (const name of n.getAttributeNames())
                    if (orv.ownAttribute(name) && name !== SRV)
                        n.removeAttribute(name);
            }
        }
        for (const n of gone)
            n.remove();
    };

    // Takes out of root, a copy of the page's content for the clipboard or a
    // drag, the element ids and marks of the surface, which would stay in
    // whatever it is pasted into. A server block's stand-in goes as an empty
    // span with only its mark of this load: elsewhere it shows nothing and
    // means nothing, while a paste or drop back into this page brings the
    // block (adopt makes it the box again). A comment would be cleaner, but
    // the browser's editing drops comments when a paste or drop moves
    // paragraphs, and the block would be lost.
    const forClipboard = (root) => {
        for (const el of root.querySelectorAll('[' + ID + ']'))
            el.removeAttribute(ID);
        for (const el of root.querySelectorAll('[' + SRV + ']'))
            el.removeAttribute('contenteditable');
    };

    // A paste whose input event never came is over at the next edit.
    window.addEventListener('beforeinput', (e) => {
        flush();
        adopting = /^insertFrom(Paste|Drop|Yank)/.test(e.inputType) ? [] : null;
    }, true);
    // Before the undo history closes the step on the same event.
    window.addEventListener('input', () => {
        if (!adopting)
            return;
        flush();
        const added = adopting;
        adopting = null;
        for (const n of added)
            if (n.isConnected)
                adopt(n);
    }, true);

    return {
        // Starts watching a freshly loaded document. map: {parents, unsettled,
        // implied: {html, head, body}, generators, marker, trailingSpace} from
        // the surface's source map.
        init(map) {
            if (observer)
                observer.disconnect();
            marker = map.marker || '';
            serverComment = new RegExp('^' + SERVER_OPEN + marker + 'c(\\d+)' + SERVER_CLOSE + '$');
            serverElement = new RegExp('^' + marker + '(\\d+)$');
            generators = new Set(map.generators || []);
            parents = map.parents || [];
            unsettled = new Set(map.unsettled || []);
            trailingSpace = map.trailingSpace || '';
            dirty = new Set();
            retagged = new Set();
            original = new Map();
            lost = new Map();
            touched = new WeakSet();
            ids = new Map();
            inexact = new Set();
            gapOf = new Map();
            placeOf = new Map();
            afterPlace = new Map();
            const count = parents.length;
            const implied = map.implied || {};
            const impliedElements = {html: document.documentElement, head: document.head,
                body: document.body};
            elementOf = new Array(count);
            inOrder = [];
            for (const name of Object.keys(implied)) {
                const el = impliedElements[name];
                if (el && !el.hasAttribute(ID) && implied[name] < count)
                    take(el, implied[name]);
            }
            firstChild = new Int32Array(count).fill(-1);
            nextSibling = new Int32Array(count).fill(-1);
            gapSize = new Int32Array(2 * count);
            gapMixed = new Uint8Array(2 * count);
            gapPlaces = new Int32Array(2 * count);
            gapQueue = [];
            gapNext = 0;
            idList = null;
            idNext = 0;
            requestIdleCallback(readMapWhenIdle);
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
            while (top && top.parentElement && (top.matches(INLINE_IDS) || !ids.has(top)))
                top = top.parentElement;
            if (!top)
                return;
            for (const el of top.querySelectorAll(INLINE_IDS))
                el.removeAttribute(ID);
            for (let n = top; n; n = n.parentElement)
                if (n.matches(INLINE_IDS))
                    n.removeAttribute(ID);
        },

        // Markup from outside the page as it may go in (see adopt).
        adopted(html) {
            const t = document.createElement('template');
            t.innerHTML = html;
            adopt(t.content);
            return t.innerHTML;
        },

        // Takes out of root (a copy of the page's content) what may not
        // leave the page (see forClipboard).
        forClipboard,

        // True once the map is all read, which the page does while idle
        // after the load.
        mapRead,

        // True once the user changed anything.
        changed() {
            flush();
            return dirty.size > 0;
        },

        // [{id, html, texts: [[gap, a text as parsed, its place], ...],
        // gaps: [[gap, its places], ...]}] for every element the edits are
        // written through.
        serialize() {
            flush();
            const through = new Set();
            for (const el of dirty)
                if (el.isConnected)
                    through.add(writtenThrough(el));
            const items = [];
            for (const el of through) {
                const out = [];
                const changes = {texts: [], gaps: []};
                if (settled(el))
                    writeChanged(el, out, changes);
                else
                    writeElement(el, out, plainLeaf);
                items.push({id: idOf(el), html: out.join(''), ...changes});
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
            readMap();
            dirty = new Set(saved.dirty || []);
            retagged = new Set(saved.retagged || []);
        },
    };
})();
