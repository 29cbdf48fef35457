// Table commands. Every operation works on a grid model of the table (each
// slot of the grid knows the cell covering it, each cell its row, column and
// spans), so row and column spans are handled wherever they cross.
(function () {
  'use strict';
  const cmd = orv.cmd;

  // The grid of a table: rows (its own TR elements, in order), slots[r][c] =
  // the cell covering that slot, and for each cell {row, col, rowSpan, colSpan}.
  function buildGrid(table) {
    const rows = Array.from(table.rows);
    const slots = rows.map(() => []);
    const at = new Map();
    // A row span stops at the end of its row group (THEAD, TBODY, TFOOT).
    const groupEnd = [];
    for (let r = rows.length - 1; r >= 0; --r) {
      groupEnd[r] = r + 1 < rows.length && rows[r + 1].parentNode === rows[r].parentNode
        ? groupEnd[r + 1] : r + 1;
    }
    let width = 0;
    rows.forEach((tr, r) => {
      let c = 0;
      for (const cell of Array.from(tr.cells)) {
        while (slots[r][c]) ++c;
        const colSpan = Math.max(1, cell.colSpan);
        const wanted = cell.rowSpan === 0 ? Infinity : Math.max(1, cell.rowSpan);
        const rowSpan = Math.min(wanted, groupEnd[r] - r);
        at.set(cell, { row: r, col: c, rowSpan: rowSpan, colSpan: colSpan });
        for (let y = r; y < r + rowSpan; ++y) {
          for (let x = c; x < c + colSpan; ++x) slots[y][x] = cell;
        }
        c += colSpan;
        width = Math.max(width, c);
      }
    });
    return { table: table, rows: rows, slots: slots, at: at, width: width };
  }

  function cellIn(node, table) {
    for (let el = cmd.elementOf(node); el && el !== document.body; el = el.parentElement) {
      if ((el.tagName === 'TD' || el.tagName === 'TH') &&
          (!table || el.parentElement && el.parentElement.closest('table') === table)) return el;
    }
    return null;
  }

  // The table around the selection, its grid and the rectangle of grid slots
  // the selected cells cover, widened until no cell sticks out of it.
  function selectedBlock() {
    const r = cmd.editableRange();
    if (!r) return null;
    const first = cellIn(r.startContainer, null);
    if (!first) return null;
    const table = first.parentElement.closest('table');
    const last = cellIn(r.endContainer, table) || first;
    const grid = buildGrid(table);
    const a = grid.at.get(first), b = grid.at.get(last);
    if (!a || !b) return null;
    let top = Math.min(a.row, b.row), left = Math.min(a.col, b.col);
    let bottom = Math.max(a.row + a.rowSpan, b.row + b.rowSpan) - 1;
    let right = Math.max(a.col + a.colSpan, b.col + b.colSpan) - 1;
    // Widen the rectangle until every cell in it lies wholly inside.
    const cells = new Set();
    for (let grown = true; grown;) {
      grown = false;
      for (let y = top; y <= bottom && !grown; ++y) {
        for (let x = left; x <= right && !grown; ++x) {
          const cell = grid.slots[y][x];
          if (!cell || cells.has(cell)) continue;
          cells.add(cell);
          const p = grid.at.get(cell);
          const pb = p.row + p.rowSpan - 1, pr = p.col + p.colSpan - 1;
          if (p.row < top || pb > bottom || p.col < left || pr > right) {
            top = Math.min(top, p.row); bottom = Math.max(bottom, pb);
            left = Math.min(left, p.col); right = Math.max(right, pr);
            grown = true;
          }
        }
      }
    }
    return { grid: grid, table: table, cell: first, cells: Array.from(cells),
             top: top, left: left, bottom: bottom, right: right };
  }

  function needBlock() {
    cmd.needEditable();
    const b = selectedBlock();
    if (!b) cmd.refuse('not in a table');
    return b;
  }

  function setSpan(cell, name, n) {
    if (n === 1) cell.removeAttribute(name);
    else cell.setAttribute(name, String(n));
  }

  // A new empty cell shaped like `like` (same tag and attributes, no spans or id).
  function newCell(like, rowSpan, colSpan) {
    const cell = document.createElement(like ? like.localName : 'td');
    if (like) {
      for (const a of Array.from(like.attributes)) {
        if (!/^(rowspan|colspan|id)$/i.test(a.name) && !orv.ownAttribute(a.name)) {
          cell.setAttribute(a.name, a.value);
        }
      }
    }
    setSpan(cell, 'rowspan', rowSpan);
    setSpan(cell, 'colspan', colSpan);
    return cell;
  }

  // The first cell that starts in row r at a column after c (to insert before).
  function cellAfter(grid, r, c) {
    for (const cell of Array.from(grid.rows[r].cells)) {
      if (grid.at.get(cell).col > c) return cell;
    }
    return null;
  }

  function insertRow(b) {
    const grid = b.grid, r = b.top;
    const tr = document.createElement('tr');
    const grown = new Set();
    for (let c = 0; c < grid.width;) {
      const cell = grid.slots[r][c];
      if (!cell) { tr.appendChild(newCell(null, 1, 1)); ++c; continue; }
      const p = grid.at.get(cell);
      if (p.row < r) {
        if (!grown.has(cell) && cell.rowSpan !== 0) { grown.add(cell); setSpan(cell, 'rowspan', p.rowSpan + 1); }
      } else {
        tr.appendChild(newCell(cell, 1, p.col + p.colSpan - c));
      }
      c = p.col + p.colSpan;
    }
    grid.rows[r].parentNode.insertBefore(tr, grid.rows[r]);
  }

  function insertCol(b) {
    const grid = b.grid, c = b.left;
    for (let r = 0; r < grid.rows.length; ++r) {
      const cell = grid.slots[r][c];
      if (!cell) {
        const before = cellAfter(grid, r, c);
        if (before) before.parentNode.insertBefore(newCell(null, 1, 1), before);
        continue;
      }
      const p = grid.at.get(cell);
      if (p.row !== r) continue;                 // handled in its first row
      if (p.col < c) setSpan(cell, 'colspan', p.colSpan + 1);
      else cell.parentNode.insertBefore(newCell(cell, p.rowSpan, 1), cell);
    }
  }

  function removeTable(b) {
    const table = b.table;
    const parent = table.parentNode;
    const at = Array.prototype.indexOf.call(parent.childNodes, table);
    table.remove();
    window.getSelection().collapse(parent, at);
  }

  function deleteRows(b) {
    const grid = b.grid, r0 = b.top, r1 = b.bottom;
    if (r0 === 0 && r1 === grid.rows.length - 1) { removeTable(b); return; }
    const moving = [];
    for (const [cell, p] of grid.at) {
      const end = p.row + p.rowSpan - 1;
      const overlap = Math.min(end, r1) - Math.max(p.row, r0) + 1;
      if (overlap <= 0) continue;
      if (p.row < r0) { if (cell.rowSpan !== 0) setSpan(cell, 'rowspan', p.rowSpan - overlap); }
      else if (end > r1) moving.push([cell, p, end - r1]);
    }
    moving.sort((x, y) => x[1].col - y[1].col);
    const below = r1 + 1;
    for (const [cell, p, span] of moving) {
      const before = cellAfter(grid, below, p.col);
      if (cell.rowSpan !== 0) setSpan(cell, 'rowspan', span);
      if (before) before.parentNode.insertBefore(cell, before);
      else grid.rows[below].appendChild(cell);
    }
    for (let r = r0; r <= r1; ++r) grid.rows[r].remove();
    caretNear(b.table, r0, b.left);
  }

  // Puts the caret in the cell at (or nearest before) row r, column c.
  function caretNear(table, r, c) {
    const grid = buildGrid(table);
    const row = grid.slots[Math.min(r, grid.rows.length - 1)] || [];
    for (let x = Math.min(c, row.length - 1); x >= 0; --x) {
      if (row[x]) { cmd.caretIn(row[x]); return; }
    }
  }

  function deleteCols(b) {
    const grid = b.grid, c0 = b.left, c1 = b.right;
    if (c0 === 0 && c1 >= grid.width - 1) { removeTable(b); return; }
    for (const [cell, p] of grid.at) {
      const end = p.col + p.colSpan - 1;
      const overlap = Math.min(end, c1) - Math.max(p.col, c0) + 1;
      if (overlap <= 0) continue;
      if (overlap === p.colSpan) cell.remove();
      else setSpan(cell, 'colspan', p.colSpan - overlap);
    }
    caretNear(b.table, b.top, c0);
  }

  function hasContent(cell) {
    return !!(cell.textContent.trim() || cell.querySelector('img,input,table,select,textarea,iframe,object,embed,hr'));
  }

  function mergeCells(b) {
    const grid = b.grid;
    const target = grid.slots[b.top][b.left];
    const others = b.cells.filter(c => c !== target).sort((x, y) => {
      const p = grid.at.get(x), q = grid.at.get(y);
      return p.row - q.row || p.col - q.col;
    });
    for (const cell of others) {
      if (hasContent(cell)) {
        if (hasContent(target)) target.appendChild(document.createTextNode(' '));
        while (cell.firstChild) target.appendChild(cell.firstChild);
      }
      cell.remove();
    }
    setSpan(target, 'rowspan', b.bottom - b.top + 1);
    setSpan(target, 'colspan', b.right - b.left + 1);
    cmd.caretIn(target);
  }

  function splitCell(b) {
    const grid = b.grid, cell = b.cell, p = grid.at.get(cell);
    cell.removeAttribute('rowspan');
    cell.removeAttribute('colspan');
    for (let r = p.row; r < p.row + p.rowSpan; ++r) {
      const before = cellAfter(grid, r, p.col + p.colSpan - 1);
      for (let c = p.col; c < p.col + p.colSpan; ++c) {
        if (r === p.row && c === p.col) continue;
        const fresh = newCell(cell, 1, 1);
        if (before) before.parentNode.insertBefore(fresh, before);
        else grid.rows[r].appendChild(fresh);
      }
    }
  }

  // Whether each command can act on a selected block of cells.
  const always = () => true;
  const OPS = {
    insertRow: ['Insert Row', insertRow, always],
    insertCol: ['Insert Column', insertCol, always],
    deleteRows: ['Delete Rows', deleteRows, always],
    deleteCols: ['Delete Columns', deleteCols, always],
    mergeCells: ['Merge Cells', mergeCells, b => b.cells.length > 1 && !!b.grid.slots[b.top][b.left]],
    splitCell: ['Split Cell', splitCell, b => {
      const p = b.grid.at.get(b.cell);
      return p.rowSpan > 1 || p.colSpan > 1;
    }],
  };

  for (const name of Object.keys(OPS)) {
    const [label, op, canAct] = OPS[name];
    cmd.define(name, {
      exec() {
        const b = needBlock();
        if (!canAct(b)) cmd.refuse(label + ' cannot act here');
        return cmd.edit(label, () => op(b));
      },
      status() {
        const r = cmd.editableRange();
        if (!r || !cellIn(r.startContainer, null)) return cmd.DISABLED;
        if (canAct === always) return cmd.ENABLED;   // no need to model the table
        const b = selectedBlock();
        return b && canAct(b) ? cmd.ENABLED : cmd.DISABLED;
      },
    });
  }

  // Copies the attributes an attribute text gives a start tag of this name,
  // parsed as HTML would, so the text can add attributes and nothing else.
  function copyAttributes(text, tag, to) {
    if (!text) return;
    const t = document.createElement('template');
    t.innerHTML = '<' + tag + ' ' + text + '>';
    const parsed = t.content.querySelector(tag);
    if (!parsed) return;
    for (const a of Array.from(parsed.attributes)) to.setAttribute(a.name, a.value);
  }

  // {rows, cols, tableAttrs, cellAttrs, caption}: a new empty table at the selection.
  cmd.define('insertTable', {
    exec(params) {
      const r = cmd.needEditable();
      if (!params || !Number.isInteger(params.rows) || !Number.isInteger(params.cols) ||
          params.rows < 1 || params.cols < 1) cmd.refuse('bad table size');
      const table = document.createElement('table');
      copyAttributes(params.tableAttrs, 'table', table);
      if (params.caption) {
        const caption = document.createElement('caption');
        caption.textContent = params.caption;
        table.appendChild(caption);
      }
      const cellModel = document.createElement('td');
      copyAttributes(params.cellAttrs, 'td', cellModel);
      const body = document.createElement('tbody');
      for (let y = 0; y < params.rows; ++y) {
        const tr = document.createElement('tr');
        for (let x = 0; x < params.cols; ++x) tr.appendChild(cellModel.cloneNode(false));
        body.appendChild(tr);
      }
      table.appendChild(body);
      return cmd.edit('Insert Table', () => {
        cmd.insertBlock(r, table);
        cmd.caretIn(table.rows[0].cells[0]);
      });
    },
    status() { return cmd.editableRange() ? cmd.ENABLED : cmd.DISABLED; },
  });

  orv.tables = { buildGrid: buildGrid };
})();
