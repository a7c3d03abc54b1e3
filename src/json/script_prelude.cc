#include "json/script_prelude.h"

#include "json/script_literal.h"

namespace qm {
namespace {

// Written for the oldest engines the composed texts may meet (ES3: no
// Object.keys, no Array indexOf). The helpers stay in sloppy mode so that a
// merge into a string or number member is ignored instead of throwing.
constexpr char kHelpers[] = R"JS(
function get__count(value) {
  return Object.prototype.toString.call(value) == '[object Array]' ? value.length : 0;
}

function get__name_All(value) {
  if (Object.prototype.toString.call(value) != '[object Object]') return '';
  var names = [];
  for (var key in value) {
    if (typeof value[key] != 'function') names.push(key);
  }
  return names.join('\r\n');
}

function get__extend(target, source) {
  if (Object.prototype.toString.call(target) == '[object Array]') {
    for (var i = 0; i < source.length; i++) target.push(source[i]);
    return target;
  }
  for (var key in source) {
    var kind = typeof target[key];
    if (kind == 'function') continue;
    target[key] = kind == 'object' ? get__extend(target[key], source[key]) : source[key];
  }
  return target;
}
)JS";

// JSON for an engine that lacks it. Each piece is installed only where the
// engine has none of its own.
constexpr char kJsonFallback[] = R"JS(
(function () {
  'use strict';

  function isArray(value) {
    return Object.prototype.toString.call(value) == '[object Array]';
  }

  function hasOwn(object, key) {
    return Object.prototype.hasOwnProperty.call(object, key);
  }

  function pad(number, width) {
    var text = String(number);
    while (text.length < width) text = '0' + text;
    return text;
  }

  if (typeof Date.prototype.toJSON != 'function') {
    Date.prototype.toJSON = function () {
      if (!isFinite(this.valueOf())) return null;
      return pad(this.getUTCFullYear(), 4) + '-' + pad(this.getUTCMonth() + 1, 2) + '-' +
          pad(this.getUTCDate(), 2) + 'T' + pad(this.getUTCHours(), 2) + ':' +
          pad(this.getUTCMinutes(), 2) + ':' + pad(this.getUTCSeconds(), 2) + 'Z';
    };
    String.prototype.toJSON = Number.prototype.toJSON = Boolean.prototype.toJSON = function () {
      return this.valueOf();
    };
  }

  // Line and paragraph separators are escaped too, so the text is also valid
  // script source.
  var needsEscape = /[\\"\u0000-\u001f\u2028\u2029]/g;
  var escapes = {'\b': '\\b', '\t': '\\t', '\n': '\\n', '\f': '\\f', '\r': '\\r', '"': '\\"', '\\': '\\\\'};

  function quote(text) {
    return '"' + text.replace(needsEscape, function (c) {
      return hasOwn(escapes, c) ? escapes[c] : '\\u' + pad(c.charCodeAt(0).toString(16), 4);
    }) + '"';
  }

  // The text of holder[key], or undefined for a value JSON cannot hold.
  function serialize(holder, key, state) {
    var value = holder[key];
    if (value !== null && typeof value == 'object' && typeof value.toJSON == 'function') {
      value = value.toJSON(key);
    }
    if (state.replacer) value = state.replacer.call(holder, key, value);
    if (value !== null && typeof value == 'object') {
      var kind = Object.prototype.toString.call(value);
      if (kind == '[object Number]') value = Number(value);
      else if (kind == '[object String]') value = String(value);
      else if (kind == '[object Boolean]') value = value.valueOf();
    }
    switch (typeof value) {
      case 'string': return quote(value);
      case 'number': return isFinite(value) ? String(value) : 'null';
      case 'boolean': return String(value);
      case 'object': if (value === null) return 'null'; break;
      default: return undefined;
    }

    for (var s = 0; s < state.stack.length; s++) {
      if (state.stack[s] === value) throw new TypeError('JSON.stringify: cyclic structure');
    }
    state.stack.push(value);
    var outer = state.indent;
    state.indent += state.gap;
    var parts = [], text, open, close;
    if (isArray(value)) {
      open = '[';
      close = ']';
      for (var i = 0; i < value.length; i++) {
        text = serialize(value, String(i), state);
        parts.push(text === undefined ? 'null' : text);
      }
    } else {
      open = '{';
      close = '}';
      var keys = state.keys;
      if (!keys) {
        keys = [];
        for (var k in value) if (hasOwn(value, k)) keys.push(k);
      }
      for (var j = 0; j < keys.length; j++) {
        text = serialize(value, keys[j], state);
        if (text !== undefined) parts.push(quote(keys[j]) + (state.gap ? ': ' : ':') + text);
      }
    }
    if (parts.length == 0) {
      text = open + close;
    } else if (state.gap) {
      text = open + '\n' + state.indent + parts.join(',\n' + state.indent) + '\n' + outer + close;
    } else {
      text = open + parts.join(',') + close;
    }
    state.stack.pop();
    state.indent = outer;
    return text;
  }

  if (typeof JSON.stringify != 'function') {
    JSON.stringify = function (value, replacer, space) {
      var state = {gap: '', indent: '', replacer: null, keys: null, stack: []};
      if (typeof space == 'number') {
        for (var n = 0; n < space && n < 10; n++) state.gap += ' ';
      } else if (typeof space == 'string') {
        state.gap = space.slice(0, 10);
      }
      if (typeof replacer == 'function') {
        state.replacer = replacer;
      } else if (isArray(replacer)) {
        var seen = {};
        state.keys = [];
        for (var i = 0; i < replacer.length; i++) {
          var item = replacer[i];
          if (typeof item != 'string' && typeof item != 'number') continue;
          item = String(item);
          if (!hasOwn(seen, item)) {
            seen[item] = true;
            state.keys.push(item);
          }
        }
      }
      return serialize({'': value}, '', state);
    };
  }

  if (typeof JSON.parse != 'function') {
    var unescapes = {'"': '"', '\\': '\\', '/': '/', b: '\b', f: '\f', n: '\n', r: '\r', t: '\t'};

    JSON.parse = function (source, reviver) {
      var text = String(source), at = 0;

      function fail() {
        throw new SyntaxError('JSON.parse: unexpected ' +
            (at < text.length ? 'character at ' + at : 'end of text'));
      }
      function white() {
        for (var c = text.charAt(at); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = text.charAt(at)) at++;
      }
      function word(expected, result) {
        if (text.substr(at, expected.length) != expected) fail();
        at += expected.length;
        return result;
      }
      function digits() {
        var start = at;
        while (text.charAt(at) >= '0' && text.charAt(at) <= '9') at++;
        return at > start;
      }
      function number() {
        var start = at;
        if (text.charAt(at) == '-') at++;
        if (text.charAt(at) == '0') at++;
        else if (!digits()) fail();
        if (text.charAt(at) == '.') {
          at++;
          if (!digits()) fail();
        }
        if (text.charAt(at) == 'e' || text.charAt(at) == 'E') {
          at++;
          if (text.charAt(at) == '+' || text.charAt(at) == '-') at++;
          if (!digits()) fail();
        }
        return Number(text.slice(start, at));
      }
      function string() {
        var result = '';
        at++;
        for (;;) {
          var start = at;
          while (at < text.length && text.charAt(at) != '"' && text.charAt(at) != '\\' &&
                 text.charCodeAt(at) >= 32) {
            at++;
          }
          result += text.slice(start, at);
          var c = text.charAt(at);
          if (c == '"') {
            at++;
            return result;
          }
          if (c != '\\') fail();
          c = text.charAt(at + 1);
          at += 2;
          if (c == 'u') {
            var hex = text.substr(at, 4);
            if (!/^[0-9a-fA-F]{4}$/.test(hex)) fail();
            result += String.fromCharCode(parseInt(hex, 16));
            at += 4;
          } else if (hasOwn(unescapes, c)) {
            result += unescapes[c];
          } else {
            fail();
          }
        }
      }
      // Members are own data properties even when named __proto__.
      function put(object, key, item) {
        if (key == '__proto__' && Object.defineProperty) {
          Object.defineProperty(object, key,
              {value: item, writable: true, enumerable: true, configurable: true});
        } else {
          object[key] = item;
        }
      }
      function array() {
        var result = [];
        at++;
        white();
        if (text.charAt(at) == ']') {
          at++;
          return result;
        }
        for (;;) {
          result.push(value());
          white();
          var c = text.charAt(at++);
          if (c == ']') return result;
          if (c != ',') fail();
        }
      }
      function object() {
        var result = {};
        at++;
        white();
        if (text.charAt(at) == '}') {
          at++;
          return result;
        }
        for (;;) {
          white();
          if (text.charAt(at) != '"') fail();
          var key = string();
          white();
          if (text.charAt(at++) != ':') fail();
          put(result, key, value());
          white();
          var c = text.charAt(at++);
          if (c == '}') return result;
          if (c != ',') fail();
        }
      }
      function value() {
        white();
        var c = text.charAt(at);
        if (c == '{') return object();
        if (c == '[') return array();
        if (c == '"') return string();
        if (c == '-' || (c >= '0' && c <= '9')) return number();
        if (c == 't') return word('true', true);
        if (c == 'f') return word('false', false);
        if (c == 'n') return word('null', null);
        fail();
      }
      function walk(holder, key) {
        var item = holder[key];
        if (item !== null && typeof item == 'object') {
          var keys = [];
          if (isArray(item)) {
            for (var i = 0; i < item.length; i++) keys.push(String(i));
          } else {
            for (var k in item) if (hasOwn(item, k)) keys.push(k);
          }
          for (var j = 0; j < keys.length; j++) {
            var revived = walk(item, keys[j]);
            if (revived === undefined) delete item[keys[j]];
            else put(item, keys[j], revived);
          }
        }
        return reviver.call(holder, key, item);
      }

      var result = value();
      white();
      if (at < text.length) fail();
      return typeof reviver == 'function' ? walk({'': result}, '') : result;
    };
  }
})();
)JS";

// Compiling the fallback costs more than a whole engine start, so the prelude
// carries it as a text and runs it only in an engine that needs it.
std::string BuildPrelude() {
  return std::string(kHelpers) + R"JS(
if (typeof JSON != 'object' || JSON === null) JSON = {};
if (typeof JSON.stringify != 'function' || typeof JSON.parse != 'function' ||
    typeof Date.prototype.toJSON != 'function') {
  eval(')JS" + EscapeScriptText(kJsonFallback) + R"JS(');
}
(function () {
  'use strict';
  if (!Object.prototype.toJSONString) {
    Object.prototype.toJSONString = function (filter) {
      return JSON.stringify(this, filter);
    };
    Object.prototype.parseJSON = function (filter) {
      return JSON.parse(this, filter);
    };
  }
})();
)JS";
}

}  // namespace

const std::string& ScriptPrelude() {
  static const std::string prelude = BuildPrelude();
  return prelude;
}

}  // namespace qm
