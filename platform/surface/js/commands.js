// The surface's editing commands: a registry of named commands, each with
// exec(arg) and status(). The C++ side calls orv.cmd.exec(name, arg) and
// orv.cmd.status(name); tables.js and positioning.js add their commands here.
// exec answers {ok: true, changed, value} or {ok: false, reason}; a command
// that cannot act refuses and leaves the page as it was.
(function () {
  'use strict';

  const NOT_SUPPORTED = 0, DISABLED = 1, ENABLED = 3, LATCHED = 7, NINCHED = 11;

  class Refusal extends Error {}
  function refuse(why) { throw new Refusal(why); }

  const registry = Object.create(null);

  const cmd = {
    DISABLED: DISABLED, ENABLED: ENABLED, LATCHED: LATCHED, NINCHED: NINCHED,
    refuse: refuse,
    define(name, definition) { registry[name] = definition; },
    names() { return Object.keys(registry); },
    exec(name, arg) {
      const c = registry[name];
      if (!c) return { ok: false, reason: 'unknown command ' + name };
      try {
        const r = c.exec(arg);
        return { ok: true, changed: !!(r && r.changed), value: r ? r.value : null };
      } catch (e) {
        if (e instanceof Refusal) return { ok: false, reason: e.message };
        return { ok: false, reason: 'failed: ' + (e && e.message ? e.message : String(e)) };
      }
    },
    status(name) {
      const c = registry[name];
      if (!c) return NOT_SUPPORTED;
      try { return c.status(); } catch (e) { return DISABLED; }
    },
  };
  orv.cmd = cmd;

  // ---- selection --------------------------------------------------------

  function elementOf(node) {
    return node && node.nodeType === Node.ELEMENT_NODE ? node : (node ? node.parentElement : null);
  }

  // The selection's range when it lies in the page's body, else null.
  function pageRange() {
    const s = window.getSelection();
    const body = document.body;
    if (!body || !s || !s.rangeCount) return null;
    const r = s.getRangeAt(0);
    if (!body.contains(r.startContainer) || !body.contains(r.endContainer)) return null;
    return r;
  }

  // The selection's range when it can be edited, else null.
  function editableRange() {
    const r = pageRange();
    if (!r) return null;
    if (document.designMode === 'on') return r;
    const el = elementOf(r.startContainer);
    return el && el.isContentEditable ? r : null;
  }

  // The element selected as an object (an image, a table...), or null.
  function selectedElement(r) {
    if (!r || r.startContainer !== r.endContainer || r.endOffset - r.startOffset !== 1) return null;
    const n = r.startContainer.childNodes[r.startOffset];
    return n && n.nodeType === Node.ELEMENT_NODE ? n : null;
  }

  function caretAfter(node) {
    const r = document.createRange();
    r.setStartAfter(node);
    r.collapse(true);
    const s = window.getSelection();
    s.removeAllRanges();
    s.addRange(r);
  }

  function caretIn(el) {
    const r = document.createRange();
    r.selectNodeContents(el);
    r.collapse(true);
    const s = window.getSelection();
    s.removeAllRanges();
    s.addRange(r);
  }

  // The last node inside node in document order (node itself when it is a leaf).
  function deepestLast(node) {
    while (node.lastChild) node = node.lastChild;
    return node;
  }

  // Calls visit(textNode) for each text node that the range covers by at
  // least one character (white space between blocks left out), in document
  // order, until visit answers false. Walks only the covered nodes.
  function eachText(r, visit) {
    const body = document.body;
    const w = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);
    const next = (n) => { w.currentNode = n; return w.nextNode(); };
    const prev = (n) => { w.currentNode = n; return w.previousNode(); };
    const sc = r.startContainer, ec = r.endContainer;
    let first;
    if (sc.nodeType === Node.TEXT_NODE) first = r.startOffset < sc.length ? sc : next(sc);
    else {
      const child = sc.childNodes[r.startOffset];
      first = child ? (child.nodeType === Node.TEXT_NODE ? child : next(child))
                    : next(deepestLast(sc));
    }
    let last;
    if (ec.nodeType === Node.TEXT_NODE) last = r.endOffset > 0 ? ec : prev(ec);
    else if (r.endOffset > 0) {
      const end = deepestLast(ec.childNodes[r.endOffset - 1]);
      last = end.nodeType === Node.TEXT_NODE ? end : prev(end);
    } else last = prev(ec);
    if (!first || !last) return;
    if (first !== last && !(first.compareDocumentPosition(last) & Node.DOCUMENT_POSITION_FOLLOWING)) return;
    for (let n = first; n; n = n === last ? null : next(n)) {
      if (n.data.trim() && visit(n) === false) return;
    }
  }

  // The elements whose formatting the selection shows, one per covered text
  // node (the caret's element for a caret), handed to visit until it stops.
  function eachFormatted(r, visit) {
    if (r.collapsed) { visit(elementOf(r.startContainer)); return; }
    let any = false;
    eachText(r, t => { any = true; return visit(t.parentElement); });
    if (!any) visit(elementOf(r.startContainer));
  }

  // LATCHED when test holds for all, NINCHED when for some, else ENABLED.
  function tally(r, test) {
    let yes = 0, no = 0;
    eachFormatted(r, el => { if (test(el)) ++yes; else ++no; return !(yes && no); });
    if (yes && no) return NINCHED;
    return yes ? LATCHED : ENABLED;
  }

  // The one value that all share, or undefined when they differ.
  function common(r, valueOf) {
    let value, seen = false, same = true;
    eachFormatted(r, el => {
      const v = valueOf(el);
      if (!seen) { value = v; seen = true; return true; }
      same = v === value;
      return same;
    });
    return same ? value : undefined;
  }

  function closestIn(node, selector) {
    const el = elementOf(node);
    const found = el ? el.closest(selector) : null;
    return found && document.body.contains(found) && found !== document.body ? found : null;
  }

  function hasEmbedded(node) {
    if (node.nodeType !== Node.ELEMENT_NODE && node.nodeType !== Node.DOCUMENT_FRAGMENT_NODE) return false;
    return !!node.querySelector('img,input,table,select,textarea,iframe,object,embed,hr');
  }

  function isEmpty(node) {
    return !node.textContent.trim() && !hasEmbedded(node) &&
           !(node.nodeType === Node.ELEMENT_NODE && /^(IMG|INPUT|HR|TABLE)$/.test(node.tagName));
  }

  const FLOW = new Set(['BODY', 'DIV', 'TD', 'TH', 'LI', 'BLOCKQUOTE', 'CENTER', 'FORM', 'DD',
                        'FIELDSET', 'SECTION', 'ARTICLE', 'ASIDE', 'HEADER', 'FOOTER', 'NAV',
                        'MAIN', 'CAPTION']);

  // Puts a block element (a table) in place of the range, splitting the
  // paragraph or inline elements around the caret so the block is not nested
  // where HTML does not allow it.
  function insertBlock(r, block) {
    r.deleteContents();
    const at = r.startContainer;
    let flow = elementOf(at);
    while (flow !== document.body && !FLOW.has(flow.tagName)) flow = flow.parentElement;
    if (flow === at) {
      flow.insertBefore(block, flow.childNodes[r.startOffset] || null);
      return;
    }
    let top = at;
    while (top.parentNode !== flow) top = top.parentNode;
    const tail = document.createRange();
    tail.setStart(r.startContainer, r.startOffset);
    tail.setEndAfter(top);
    const rest = tail.extractContents();
    flow.insertBefore(block, top.nextSibling);
    if (!isEmpty(rest)) flow.insertBefore(rest, block.nextSibling);
    if (isEmpty(top)) top.remove();
  }

  cmd.elementOf = elementOf;
  cmd.pageRange = pageRange;
  cmd.editableRange = editableRange;
  cmd.selectedElement = selectedElement;
  cmd.caretIn = caretIn;
  cmd.closestIn = closestIn;
  cmd.insertBlock = insertBlock;

  // Runs fn as one undoable step; refuses when it changed nothing and
  // otherEffect (a change the DOM does not show, like the typing style at a
  // caret) does not report one either.
  function edit(label, fn, otherEffect) {
    const r = orv.history.run(label, fn);
    if (!r.changed && !(otherEffect && otherEffect())) refuse('no effect');
    return r;
  }
  cmd.edit = edit;

  function needEditable() {
    const r = editableRange();
    if (!r) refuse('no editable selection');
    return r;
  }
  cmd.needEditable = needEditable;

  function run(command, value) {
    orv.fidelity.bareInline();
    document.execCommand('styleWithCSS', false, false);
    return document.execCommand(command, false, value);
  }

  // ---- character formats --------------------------------------------------

  function style(el) { return window.getComputedStyle(el); }

  function underlined(el) {
    for (let e = el; e && e !== document.documentElement; e = e.parentElement) {
      if ((style(e).textDecorationLine || '').includes('underline')) return true;
    }
    return false;
  }

  const CHARACTER = {
    bold: { label: 'Bold', test: el => parseInt(style(el).fontWeight, 10) >= 600 },
    italic: { label: 'Italic', test: el => /italic|oblique/.test(style(el).fontStyle) },
    underline: { label: 'Underline', test: underlined },
  };

  for (const name of Object.keys(CHARACTER)) {
    const c = CHARACTER[name];
    cmd.define(name, {
      exec() {
        needEditable();
        const before = document.queryCommandState(name);
        return edit(c.label, () => run(name), () => document.queryCommandState(name) !== before);
      },
      status() {
        const r = editableRange();
        if (!r) return DISABLED;
        if (r.collapsed) return document.queryCommandState(name) ? LATCHED : ENABLED;
        return tally(r, c.test);
      },
    });
  }

  // First family of a font-family value, without quotes.
  function firstFamily(value) {
    const first = String(value || '').split(',')[0].trim();
    return first.replace(/^["']|["']$/g, '');
  }
  cmd.firstFamily = firstFamily;

  const LEGACY_PX = [10, 13, 16, 18, 24, 32, 48];
  // The HTML font size (1 to 7) nearest to a size in pixels.
  function legacySize(px) {
    let best = 0;
    for (let i = 1; i < LEGACY_PX.length; ++i) {
      if (Math.abs(LEGACY_PX[i] - px) < Math.abs(LEGACY_PX[best] - px)) best = i;
    }
    return best + 1;
  }

  function fontNameAt(r) {
    if (r.collapsed) return firstFamily(document.queryCommandValue('fontName'));
    return common(r, el => firstFamily(style(el).fontFamily));
  }

  function fontSizeAt(r) {
    if (r.collapsed) {
      const v = parseInt(document.queryCommandValue('fontSize'), 10);
      return v >= 1 ? v : legacySize(parseFloat(style(elementOf(r.startContainer)).fontSize));
    }
    return common(r, el => legacySize(parseFloat(style(el).fontSize)));
  }

  function uniformStatus(valueAt) {
    return function () {
      const r = editableRange();
      if (!r) return DISABLED;
      return valueAt(r) === undefined ? NINCHED : ENABLED;
    };
  }

  cmd.define('getFontName', {
    exec() { const v = fontNameAt(needEditable()); return { value: v === undefined ? '' : v }; },
    status: uniformStatus(fontNameAt),
  });
  cmd.define('getFontSize', {
    exec() { const v = fontSizeAt(needEditable()); return { value: v === undefined ? 0 : v }; },
    status: uniformStatus(fontSizeAt),
  });

  function hex(rgb) {
    const m = /rgba?\((\d+),\s*(\d+),\s*(\d+)/.exec(rgb || '');
    if (!m) return '';
    return '#' + [m[1], m[2], m[3]].map(v => (+v).toString(16).padStart(2, '0')).join('').toUpperCase();
  }

  function caretFormat() {
    return JSON.stringify(['fontName', 'fontSize', 'foreColor', 'backColor']
      .map(c => document.queryCommandValue(c)));
  }

  function formatWith(label, command, value) {
    needEditable();
    const before = caretFormat();
    return edit(label, () => run(command, value), () => caretFormat() !== before);
  }

  const editableStatus = () => (editableRange() ? ENABLED : DISABLED);

  cmd.define('setFontName', {
    exec(name) {
      if (typeof name !== 'string' || !name.trim()) refuse('no font name');
      return formatWith('Font', 'fontName', name.trim());
    },
    status: editableStatus,
  });
  cmd.define('setFontSize', {
    exec(size) {
      if (!Number.isInteger(size) || size < 1 || size > 7) refuse('font size out of range');
      return formatWith('Font Size', 'fontSize', String(size));
    },
    status: editableStatus,
  });
  const COLOR = /^#[0-9A-Fa-f]{6}$/;
  cmd.define('setForeColor', {
    exec(color) {
      if (!COLOR.test(color)) refuse('bad colour');
      return formatWith('Font Color', 'foreColor', color);
    },
    status: editableStatus,
  });
  cmd.define('setBackColor', {
    exec(color) {
      if (!COLOR.test(color)) refuse('bad colour');
      return formatWith('Background Color', 'hiliteColor', color);
    },
    status: editableStatus,
  });

  // The font dialog's values at the selection, and applying them as one step.
  cmd.define('fontAt', {
    exec() {
      const r = needEditable();
      const name = fontNameAt(r), size = fontSizeAt(r);
      return { value: { face: name === undefined ? '' : name, size: size === undefined ? 0 : size,
                        color: hex(document.queryCommandValue('foreColor')) } };
    },
    status: editableStatus,
  });
  cmd.define('applyFont', {
    exec(font) {
      needEditable();
      if (!font || typeof font !== 'object') refuse('no font');
      if (font.size && !(Number.isInteger(font.size) && font.size >= 1 && font.size <= 7)) refuse('font size out of range');
      if (font.color && !COLOR.test(font.color)) refuse('bad colour');
      const before = caretFormat();
      return edit('Font', () => {
        if (font.face) run('fontName', font.face);
        if (font.size) run('fontSize', String(font.size));
        if (font.color) run('foreColor', font.color);
      }, () => caretFormat() !== before);
    },
    status: editableStatus,
  });

  // ---- paragraphs -----------------------------------------------------------

  function blockOf(el) {
    let e = el;
    while (e && e !== document.body && /^inline/.test(style(e).display)) e = e.parentElement;
    return e || document.body;
  }

  function alignment(el) {
    const a = style(blockOf(el)).textAlign;
    if (/center/.test(a)) return 'center';
    if (/right|end/.test(a)) return 'right';
    if (/justify/.test(a)) return 'justify';
    return 'left';
  }

  for (const [name, side, label] of [['justifyLeft', 'left', 'Align Left'],
                                      ['justifyCenter', 'center', 'Align Center'],
                                      ['justifyRight', 'right', 'Align Right']]) {
    cmd.define(name, {
      exec() { needEditable(); return edit(label, () => run(name)); },
      status() {
        const r = editableRange();
        return r ? tally(r, el => alignment(el) === side) : DISABLED;
      },
    });
  }

  cmd.define('indent', {
    exec() { needEditable(); return edit('Indent', () => run('indent')); },
    status: editableStatus,
  });
  cmd.define('outdent', {
    exec() {
      const r = needEditable();
      if (!closestIn(r.startContainer, 'blockquote,li,ul,ol')) refuse('nothing indented');
      return edit('Outdent', () => run('outdent'));
    },
    status() {
      const r = editableRange();
      return r && closestIn(r.startContainer, 'blockquote,li,ul,ol') ? ENABLED : DISABLED;
    },
  });

  for (const [name, command, tag, label] of [['orderList', 'insertOrderedList', 'OL', 'Numbered List'],
                                              ['unorderList', 'insertUnorderedList', 'UL', 'Bulleted List']]) {
    cmd.define(name, {
      exec() { needEditable(); return edit(label, () => run(command)); },
      status() {
        const r = editableRange();
        if (!r) return DISABLED;
        const list = closestIn(r.startContainer, 'ol,ul');
        return list && list.tagName === tag ? LATCHED : ENABLED;
      },
    });
  }

  // ---- links and images ---------------------------------------------------------

  function linksAt(r) {
    const found = new Set();
    const around = closestIn(r.startContainer, 'a[href]');
    if (around) found.add(around);
    if (!r.collapsed) {
      const root = elementOf(r.commonAncestorContainer);
      for (const a of root.querySelectorAll('a[href]')) if (r.intersectsNode(a)) found.add(a);
      const end = closestIn(r.endContainer, 'a[href]');
      if (end) found.add(end);
    }
    return Array.from(found);
  }

  function unwrap(el) {
    const parent = el.parentNode;
    while (el.firstChild) parent.insertBefore(el.firstChild, el);
    parent.removeChild(el);
  }

  cmd.define('unlink', {
    exec() {
      const r = needEditable();
      const links = linksAt(r);
      if (!links.length) refuse('no link');
      return edit('Unlink', () => links.forEach(unwrap));
    },
    status() {
      const r = editableRange();
      return r && linksAt(r).length ? ENABLED : DISABLED;
    },
  });

  cmd.define('linkAt', {
    exec() {
      const r = needEditable();
      const a = closestIn(r.startContainer, 'a[href]');
      return { value: a ? a.getAttribute('href') : null };
    },
    status: editableStatus,
  });

  cmd.define('makeLink', {
    exec(url) {
      if (typeof url !== 'string' || !url) refuse('no address');
      const r = needEditable();
      const around = closestIn(r.startContainer, 'a[href]');
      return edit('Hyperlink', () => {
        if (r.collapsed && around) {
          around.setAttribute('href', url);
        } else if (r.collapsed) {
          const a = document.createElement('a');
          a.setAttribute('href', url);
          a.textContent = url;
          r.insertNode(a);
          caretAfter(a);
        } else {
          run('createLink', url);
        }
      });
    },
    status: editableStatus,
  });

  cmd.define('imageAt', {
    exec() {
      const img = selectedElement(needEditable());
      if (!img || img.tagName !== 'IMG') return { value: null };
      return { value: { src: img.getAttribute('src') || '', alt: img.getAttribute('alt') || '' } };
    },
    status: editableStatus,
  });

  cmd.define('putImage', {
    exec(image) {
      if (!image || typeof image.src !== 'string' || !image.src) refuse('no image source');
      const r = needEditable();
      const chosen = selectedElement(r);
      return edit('Image', () => {
        const img = chosen && chosen.tagName === 'IMG' ? chosen : document.createElement('img');
        img.setAttribute('src', image.src);
        if (image.alt) img.setAttribute('alt', image.alt); else img.removeAttribute('alt');
        if (img !== chosen) {
          r.deleteContents();
          r.insertNode(img);
          caretAfter(img);
        }
      });
    },
    status: editableStatus,
  });

  // ---- clipboard and selection -----------------------------------------------

  // The selection as HTML and text. The inline elements around a selection
  // inside them (a bold word) come along, so the copy keeps its formatting,
  // and so do the tables and lists around cells, rows or items, which mean
  // nothing without them.
  const HOLDERS = new Set(['TABLE', 'THEAD', 'TBODY', 'TFOOT', 'TR', 'UL', 'OL', 'DL']);
  function selectionData(r) {
    let content = r.cloneContents();
    for (let el = elementOf(r.commonAncestorContainer);
         el && el !== document.body && (HOLDERS.has(el.tagName) || /^inline/.test(style(el).display));
         el = el.parentElement) {
      const wrap = el.cloneNode(false);
      wrap.removeAttribute('id');
      wrap.appendChild(content);
      content = wrap;
    }
    const box = document.createElement('div');
    box.appendChild(content);
    orv.fidelity.forClipboard(box);
    return { html: box.innerHTML, text: window.getSelection().toString() };
  }

  cmd.define('copy', {
    exec() {
      const r = pageRange();
      if (!r || r.collapsed) refuse('nothing selected');
      return { value: selectionData(r) };
    },
    status() { const r = pageRange(); return r && !r.collapsed ? ENABLED : DISABLED; },
  });

  cmd.define('cut', {
    exec() {
      const r = needEditable();
      if (r.collapsed) refuse('nothing selected');
      const data = selectionData(r);
      const done = edit('Cut', () => run('delete'));
      done.value = data;
      return done;
    },
    status() { const r = editableRange(); return r && !r.collapsed ? ENABLED : DISABLED; },
  });

  const BLOCKS = 'address,article,aside,blockquote,caption,center,dd,div,dl,dt,fieldset,figure,' +
                 'footer,form,h1,h2,h3,h4,h5,h6,header,hr,li,main,nav,ol,p,pre,section,table,' +
                 'tbody,td,tfoot,th,thead,tr,ul';

  // Chromium's insertHTML puts the text before a pasted line break outside
  // the paragraph and loses the space after the selection, so text and
  // inline elements go in by hand; blocks still need its splitting.
  function pasteInline(html) {
    let r = pageRange();
    const fragment = r.createContextualFragment(html);
    if (fragment.querySelector(BLOCKS)) return false;
    const block = (n) => elementOf(n).closest(BLOCKS) || document.body;
    if (block(r.startContainer) !== block(r.endContainer)) {
      run('delete');  // joins the blocks
      r = pageRange();
    }
    const where = block(r.startContainer);
    const emptied = [];
    for (let el = elementOf(r.endContainer); el !== where && !el.contains(r.startContainer); el = el.parentElement)
      emptied.push(el);
    r.deleteContents();
    const gone = (el) => !el.textContent && !el.querySelector('*');
    for (const el of emptied) if (gone(el)) el.remove();
    // The line break that only held an empty paragraph open.
    const first = where.firstElementChild;
    if (first && first.tagName === 'BR' && !where.textContent && where.children.length === 1)
      first.remove();
    orv.selection.replace(r, fragment);
    return true;
  }

  cmd.define('paste', {
    exec(html) {
      if (typeof html !== 'string' || !html) refuse('nothing to paste');
      needEditable();
      const own = orv.fidelity.adopted(html);
      return edit('Paste', () => pasteInline(own) || run('insertHTML', own));
    },
    status: editableStatus,
  });

  cmd.define('selectAll', {
    exec() {
      if (!document.body) refuse('no page');
      window.getSelection().selectAllChildren(document.body);
      return { changed: false };
    },
    status() { return document.body ? ENABLED : DISABLED; },
  });

  // ---- find ---------------------------------------------------------------------

  // Lower case, one code unit for one code unit, so offsets stay aligned.
  function fold(s) {
    let out = '';
    for (const ch of s) {
      const l = ch.toLowerCase();
      out += l.length === ch.length ? l : ch;
    }
    return out;
  }

  function searchableTexts() {
    const out = [];
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
      acceptNode(n) {
        return n.parentElement && n.parentElement.closest('script,style,noscript,template')
          ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT;
      },
    });
    for (let n = walker.nextNode(); n; n = walker.nextNode()) out.push(n);
    return out;
  }

  // Finds text in the page, case ignored, from the selection onwards and
  // round from the top; selects the match. Answers whether it was found.
  cmd.define('find', {
    exec(text) {
      if (typeof text !== 'string' || !text) refuse('nothing to find');
      if (!document.body) refuse('no page');
      const nodes = searchableTexts();
      const starts = [];
      let all = '';
      for (const n of nodes) { starts.push(all.length); all += n.data; }
      const hay = fold(all), needle = fold(text);
      let from = 0;
      const r = pageRange();
      if (r) {
        const i = nodes.indexOf(r.endContainer);
        if (i >= 0) from = starts[i] + r.endOffset;
        else {
          for (let k = 0; k < nodes.length; ++k) {
            const p = document.createRange();
            p.selectNode(nodes[k]);
            if (p.compareBoundaryPoints(Range.START_TO_END, r) >= 0) { from = starts[k]; break; }
          }
        }
      }
      let at = hay.indexOf(needle, from);
      if (at < 0) at = hay.indexOf(needle);
      if (at < 0) return { value: false };
      const locate = (offset, isEnd) => {
        let k = 0;
        while (k + 1 < nodes.length && (isEnd ? starts[k + 1] < offset : starts[k + 1] <= offset)) ++k;
        return [nodes[k], offset - starts[k]];
      };
      const [sn, so] = locate(at, false);
      const [en, eo] = locate(at + needle.length, true);
      window.getSelection().setBaseAndExtent(sn, so, en, eo);
      return { value: true };
    },
    status() { return document.body ? ENABLED : DISABLED; },
  });

  // ---- history ----------------------------------------------------------------------

  cmd.define('undo', {
    exec() { if (!orv.history.undo()) refuse('nothing to undo'); return { changed: true }; },
    status() { return orv.history.canUndo() ? ENABLED : DISABLED; },
  });
  cmd.define('redo', {
    exec() { if (!orv.history.redo()) refuse('nothing to redo'); return { changed: true }; },
    status() { return orv.history.canRedo() ? ENABLED : DISABLED; },
  });
})();
