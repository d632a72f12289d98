#!/usr/bin/env node
// Parses Transact-SQL scripts with the SQL Server grammar of antlr4ts-sql, a
// grammar written independently of our generators, and reports every syntax
// error.
//
//   node check.js [--quiet] [--strict] PATH...
//
// PATH is a script file or a folder; folders are searched recursively for
// files ending in .sql. Each script is split into batches on lines that hold
// only GO (any case, blanks around it allowed), as sqlcmd does, and every
// batch that holds more than blanks is parsed on its own. Errors are printed
// as
//   FILE:LINE:COLUMN: batch N: MESSAGE
// with LINE counted in the file (from 1) and COLUMN in the line (from 1),
// then the line itself. The last line is "P passed, F failed", counting
// batches. Exit status: 0 when every batch parses, 1 when one does not,
// 2 when a path cannot be read or nothing is given. --quiet leaves out the
// line per file.
//
// One construct that SQL Server accepts is missing from the grammar: the
// test IF UPDATE(column) in a trigger. It is parsed with a stand-in of the
// same shape (see triggerUpdateTests), counted and reported in a note before
// the summary; --strict parses the scripts exactly as written.
'use strict';

const fs = require('fs');
const path = require('path');
const sql = require('antlr4ts-sql');

const {
  BailErrorStrategy,
  CharStreams,
  CommonTokenStream,
  DefaultErrorStrategy,
  ParseCancellationException,
  PredictionMode,
  TSqlLexer,
  Token,
} = sql;
const { TSqlParser } = sql.TSQLGrammar;

// The lexer's keywords are upper case; SQL Server's are not case sensitive.
// This stream shows the lexer upper-cased characters while token texts (and
// so the messages) keep the script's own spelling. (The stream that comes
// with antlr4ts-sql loses the text, so error messages would quote nothing.)
class UpperCaseStream {
  constructor(stream) {
    this.stream = stream;
  }
  get index() {
    return this.stream.index;
  }
  get size() {
    return this.stream.size;
  }
  get sourceName() {
    return this.stream.sourceName;
  }
  LA(offset) {
    const c = this.stream.LA(offset);
    if (c <= 0) return c;
    return String.fromCodePoint(c).toUpperCase().codePointAt(0);
  }
  consume() {
    this.stream.consume();
  }
  mark() {
    return this.stream.mark();
  }
  release(marker) {
    this.stream.release(marker);
  }
  seek(index) {
    this.stream.seek(index);
  }
  getText(interval) {
    return this.stream.getText(interval);
  }
  toString() {
    return this.stream.toString();
  }
}

// Expected-token sets of this grammar run to hundreds of names.
function shorten(message) {
  return message.replace(/expecting \{([^}]*)\}/, (whole, list) => {
    const names = list.split(', ');
    if (names.length <= 12) return whole;
    return `expecting {${names.slice(0, 12).join(', ')}, ... ${names.length - 12} more}`;
  });
}

// Collects what the lexer and the parser would otherwise print to the console.
class ErrorCollector {
  constructor() {
    this.errors = [];
  }
  syntaxError(recognizer, offendingSymbol, line, charPositionInLine, msg) {
    this.errors.push({ line, column: charPositionInLine + 1, message: shorten(msg) });
  }
}

function lex(text, collector) {
  const lexer = new TSqlLexer(new UpperCaseStream(CharStreams.fromString(text)));
  lexer.removeErrorListeners();
  lexer.addErrorListener(collector);
  const tokens = new CommonTokenStream(lexer);
  tokens.fill();
  return tokens;
}

// SQL Server accepts IF UPDATE(column) in a trigger (was the column
// assigned?), which this grammar lacks. In a batch that creates or alters a
// trigger, UPDATE ( name ) has its UPDATE replaced by 0<>LEN, of the same
// length and accepted in the same place, so that the rest of the batch is
// still checked and positions stay right. Returns the start indexes (in code
// points) of the UPDATE tokens to replace.
const TRIGGER_UPDATE_STAND_IN = '0<>LEN';
const COLUMN_NAME_TOKENS = new Set([TSqlLexer.ID, TSqlLexer.SQUARE_BRACKET_ID, TSqlLexer.DOUBLE_QUOTE_ID]);

function triggerUpdateTests(tokens) {
  const visible = tokens.getTokens().filter((t) => t.channel === Token.DEFAULT_CHANNEL && t.type !== Token.EOF);
  const types = visible.slice(0, 4).map((t) => t.type);
  const createsTrigger =
    (types[0] === TSqlLexer.CREATE && types[1] === TSqlLexer.TRIGGER) ||
    (types[0] === TSqlLexer.ALTER && types[1] === TSqlLexer.TRIGGER) ||
    (types[0] === TSqlLexer.CREATE && types[1] === TSqlLexer.OR && types[2] === TSqlLexer.ALTER &&
      types[3] === TSqlLexer.TRIGGER);
  if (!createsTrigger) return [];
  const starts = [];
  for (let i = 0; i + 3 < visible.length; i += 1) {
    if (
      visible[i].type === TSqlLexer.UPDATE &&
      visible[i + 1].type === TSqlLexer.LR_BRACKET &&
      COLUMN_NAME_TOKENS.has(visible[i + 2].type) &&
      visible[i + 3].type === TSqlLexer.RR_BRACKET
    ) {
      starts.push(visible[i].startIndex);
    }
  }
  return starts;
}

// Parses one batch: { errors, standIns }, errors [] when it parses. The fast
// SLL prediction decides most batches; a batch it cannot parse is parsed
// again with full LL prediction, which accepts exactly the grammar's language
// and reports the errors.
function parseBatch(text, { strict = false } = {}) {
  let collector = new ErrorCollector();
  let tokens = lex(text, collector);
  const standIns = strict ? [] : triggerUpdateTests(tokens);
  if (standIns.length > 0) {
    const chars = Array.from(text);
    for (const start of standIns) {
      chars.splice(start, TRIGGER_UPDATE_STAND_IN.length, ...TRIGGER_UPDATE_STAND_IN);
    }
    collector = new ErrorCollector();
    tokens = lex(chars.join(''), collector);
  }

  const parser = new TSqlParser(tokens);
  parser.removeErrorListeners();
  parser.interpreter.setPredictionMode(PredictionMode.SLL);
  parser.errorHandler = new BailErrorStrategy();
  try {
    parser.tsql_file();
    return { errors: collector.errors, standIns: standIns.length };
  } catch (e) {
    if (!(e instanceof ParseCancellationException)) throw e;
  }
  tokens.seek(0);
  parser.reset();
  parser.addErrorListener(collector);
  parser.interpreter.setPredictionMode(PredictionMode.LL);
  parser.errorHandler = new DefaultErrorStrategy();
  parser.tsql_file();
  return { errors: collector.errors, standIns: standIns.length };
}

// Scripts are written in UTF-8 or in a Windows code page; the grammar cares
// only about ASCII, so an 8-bit code page is read as Latin-1.
function decode(bytes) {
  if (bytes.length >= 2 && bytes[0] === 0xff && bytes[1] === 0xfe) return bytes.toString('utf16le', 2);
  if (bytes.length >= 3 && bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) {
    bytes = bytes.subarray(3);
  }
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch (e) {
    return bytes.toString('latin1');
  }
}

const GO_LINE = /^[ \t]*go[ \t]*$/i;

// Batches of a script: { number, firstLine, text }, numbered from 1 in the
// order they stand, blank ones included in the numbering but left out.
function splitBatches(script) {
  const lines = script.split(/\r\n|\n|\r/);
  const batches = [];
  let current = [];
  let firstLine = 1;
  let number = 1;
  const close = () => {
    const text = current.join('\r\n');
    if (text.trim() !== '') batches.push({ number, firstLine, text });
    number += 1;
  };
  lines.forEach((line, i) => {
    if (GO_LINE.test(line)) {
      close();
      current = [];
      firstLine = i + 2;
    } else {
      current.push(line);
    }
  });
  // What follows the last GO is a batch too (sqlcmd runs it at the end).
  if (current.join('').trim() !== '') close();
  return { lines, batches };
}

function collectFiles(target, files) {
  const stat = fs.statSync(target);
  if (stat.isDirectory()) {
    const entries = fs.readdirSync(target).sort();
    for (const entry of entries) {
      const full = path.join(target, entry);
      const entryStat = fs.statSync(full);
      if (entryStat.isDirectory()) collectFiles(full, files);
      else if (/\.sql$/i.test(entry)) files.push(full);
    }
  } else {
    files.push(target);
  }
}

const USAGE = 'usage: node check.js [--quiet] [--strict] FILE-OR-FOLDER...';

function main(argv) {
  let quiet = false;
  let strict = false;
  const targets = [];
  for (const arg of argv) {
    if (arg === '--quiet') quiet = true;
    else if (arg === '--strict') strict = true;
    else if (arg === '--help' || arg === '-h') {
      console.log(USAGE);
      return 0;
    } else if (arg.startsWith('--')) {
      console.error(`check.js: unknown option ${arg}\n${USAGE}`);
      return 2;
    } else targets.push(arg);
  }
  if (targets.length === 0) {
    console.error(USAGE);
    return 2;
  }

  const files = [];
  try {
    for (const target of targets) collectFiles(target, files);
  } catch (e) {
    console.error(`check.js: ${e.message}`);
    return 2;
  }

  let passed = 0;
  let failed = 0;
  let standIns = 0;
  for (const file of files) {
    let script;
    try {
      script = decode(fs.readFileSync(file));
    } catch (e) {
      console.error(`check.js: ${e.message}`);
      return 2;
    }
    const { lines, batches } = splitBatches(script);
    let fileFailed = 0;
    let fileStandIns = 0;
    for (const batch of batches) {
      const result = parseBatch(batch.text, { strict });
      fileStandIns += result.standIns;
      if (result.errors.length === 0) {
        passed += 1;
        continue;
      }
      failed += 1;
      fileFailed += 1;
      for (const error of result.errors) {
        const line = batch.firstLine + error.line - 1;
        console.log(`${file}:${line}:${error.column}: batch ${batch.number}: ${error.message}`);
        if (line >= 1 && line <= lines.length) {
          console.log(`    ${lines[line - 1]}`);
          console.log(`    ${' '.repeat(Math.max(0, error.column - 1))}^`);
        }
      }
    }
    standIns += fileStandIns;
    if (!quiet) {
      let state = fileFailed ? `${fileFailed} of ${batches.length} batches failed` : `${batches.length} batches`;
      if (fileStandIns) state += `, ${fileStandIns} trigger UPDATE(column) tests read as ${TRIGGER_UPDATE_STAND_IN}(column)`;
      console.log(`${file}: ${state}`);
    }
  }
  if (standIns) {
    console.log(
      `note: ${standIns} trigger UPDATE(column) tests, which this grammar lacks, were parsed as ` +
        `${TRIGGER_UPDATE_STAND_IN}(column); --strict parses them as written`,
    );
  }
  console.log(`${passed} passed, ${failed} failed`);
  return failed === 0 ? 0 : 1;
}

if (require.main === module) {
  process.exitCode = main(process.argv.slice(2));
}

module.exports = { splitBatches, parseBatch };
